#pragma once

#include "service/SessionUrls.h"
#include "state/Session.h"

namespace kelvra {

// The record as the main window's creation leaves it: logged out (username, s_mac and s_ip empty,
// s_login "False", admin "1", gid "0"); the password, counters and dates keep their values.
void SetSessionStartValues(Session& session);

// A negative full login check: username, s_mac and s_ip empty, admin "1", gid "0"; the password,
// s_login, counters and dates keep their values.
void ApplyNegativeLogin(Session& session);

// Switching accounts: username, s_mac and s_ip empty, s_login "False", admin "1", gid "0"; the
// password, counters and dates keep their values.
void ClearForSwitchAccounts(Session& session);

// Drop the session: username and password empty, gid "0"; the other fields stay.
void DropSession(Session& session);
// Drop the session and its VIP flag: as DropSession, and admin becomes "1".
void DropSessionAndVipFlag(Session& session);

// On this machine: s_ip equals the local IP and s_mac the machine address (exact text).
bool OnThisMachine(const Session& session, const MachineIdentity& machine);
// Logged on elsewhere: not on this machine while s_login is exactly "True".
bool LoggedOnElsewhere(const Session& session, const MachineIdentity& machine);

// The ordinary quota test, made before the increment: search_num <= search_count, or the two
// dates differ. False as well when search_num is already the largest 32-bit value, since the
// next count could not be represented.
bool MayCountOrdinary(const Session& session);
// The VIP quota test: search_num_vip <= search_count_vip (dates play no part); false when the
// counter cannot be incremented.
bool MayCountVip(const Session& session);

// Whether the full login check must report the unchanged count: search_num < search_count or
// the dates differ.
bool NeedsCountSync(const Session& session);

} // namespace kelvra

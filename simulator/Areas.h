#pragma once

#include "Context.h"
#include "Router.h"

namespace kelvra::sim {

// Each area of the service adds its routes; handlers answer every input with a reply (a page,
// an XML document or an error status), never by throwing for bad input.

// Probe page "/cn/" and the information page "/info".
void RegisterProbePages(Router& routes, Context& context);
// The seven XML list services under "/kelvra_cd/xml/".
void RegisterListServices(Router& routes, Context& context);
// Login status, count reports and logout notices.
void RegisterSessionServices(Router& routes, Context& context);
// Number, vehicle and engine result pages.
void RegisterResultPages(Router& routes, Context& context);
// Product detail, max-query and service error pages.
void RegisterProductPages(Router& routes, Context& context);
// Suppliers, country, introduction, account and purchase pages, the download page.
void RegisterInfoPages(Router& routes, Context& context);
// Test pages that act as hostile web content (scripts, frames of another site).
void RegisterHostilePages(Router& routes, Context& context);
// get_version.asp, the update descriptor, the file list and the files.
void RegisterUpdateServices(Router& routes, Context& context);
// The test control interface under "/__sim/".
void RegisterControl(Router& routes, Context& context);

} // namespace kelvra::sim

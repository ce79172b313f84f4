#pragma once

#include "Catalogue.h"
#include "Page.h"

#include <string>
#include <vector>

namespace kelvra::sim {

// What a result page shows and where its links go.
struct ResultView {
    Lang lang = Lang::English;
    std::string title;      // page heading
    std::string criteria;   // one line: what was searched
    bool vip = false;       // VIP pages link to pro_show_vip.asp and show prices
    std::string identity;   // "&Gid=..&Mac=..&IP=.." carried into the product links
    bool loggedOut = false; // Gid "0": the page says that details need a login
};

// The whole result page: heading, the table of products (ten per page, flipped in the page by
// "javascript:fan(n);" links), and "No parts found" when the list is empty.
std::string RenderResultPage(Db& db, const ResultView& view, const std::vector<Product>& products);

// The identity part of a result URL, percent-encoded again for the product links.
std::string IdentitySuffix(const std::string& gid, const std::string& mac, const std::string& ip);

} // namespace kelvra::sim

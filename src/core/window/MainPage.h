#pragma once

namespace kelvra {

// Page indices of RzPageControl1.
enum MainPage : int {
    kPageResults = 0,
    kPageHomeChinese = 1,
    kPageHomeEnglish = 2,
    kPageNetwork = 3,
    kPageSuppliers = 4,
    kPageCountry = 5,
    kPageAbout = 6,
    kPagePurchase = 7,
    kPageError = 8,
};

} // namespace kelvra

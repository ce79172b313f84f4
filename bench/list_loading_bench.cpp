// List loading as the side panel does it: fetch a list from the stand-in service on loopback,
// parse it and fill a list, for 100, 10,000 and 100,000 entries; and parse+read alone.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "service/HttpTransport.h"
#include "service/ListLoader.h"
#include "service/ListsPresenter.h"
#include "service/XmlDocument.h"
#include "support/SimProcess.h"

namespace {

std::string MakeListXml(const std::string& element, int entries) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><list><returnValue>true"
                      "</returnValue>";
    xml.reserve(xml.size() + static_cast<std::size_t>(entries) * 48);
    for (int i = 1; i <= entries; ++i) {
        xml += "<" + element + " " + element + "_id=\"" + std::to_string(i) + "\" " + element +
               "_name=\"Entry " + std::to_string(i) + "\"/>";
    }
    return xml + "</list>";
}

// Keeps what a combo box would hold.
class CountingView : public kelvra::ListsView {
public:
    void ClearToPrompt(kelvra::ListBox, const std::string& prompt) override {
        m_items.clear();
        m_items.push_back({prompt, 0});
    }
    void AddEntry(kelvra::ListBox, const std::string& text, std::int32_t id) override {
        m_items.push_back({text, id});
    }
    void SetItemIndex(kelvra::ListBox, int) override {}
    int ItemIndex(kelvra::ListBox) const override { return 0; }
    int EntryCount(kelvra::ListBox) const override { return static_cast<int>(m_items.size()); }
    std::int32_t ChosenId(kelvra::ListBox) const override { return 1; }
    void ShowErrorPage() override { ++errors; }
    std::size_t Size() const { return m_items.size(); }
    int errors = 0;

private:
    std::vector<kelvra::ListEntry> m_items;
};

void BM_FetchParseFill(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    // The stand-in answers the model list with a generated list of that many entries.
    kelvra::test::SimProcess sim;
    sim.Control("/__sim/list?path=get_category.asp&count=1000000&entries=" +
                std::to_string(entries));
    auto transport = kelvra::MakeCurlTransport();
    kelvra::AppState app;
    app.xmlBaseUrl = sim.Root() + "/kelvra_cd/xml/";
    CountingView view;
    kelvra::ListsPresenter presenter(app, *transport, view, [] { return true; });
    for (auto _ : state) {
        presenter.cb_group1_brandChange(); // the model list: clear, fetch, parse, fill
        benchmark::DoNotOptimize(view.Size());
    }
    if (view.errors != 0 || view.Size() != static_cast<std::size_t>(entries) + 1) {
        state.SkipWithError("the list was not filled");
    }
    state.SetItemsProcessed(state.iterations() * entries);
}

void BM_ParseAndRead(benchmark::State& state) {
    const std::string xml = MakeListXml("brand", static_cast<int>(state.range(0)));
    const kelvra::ListFormat format{"brand", "brand_id", "brand_name"};
    for (auto _ : state) {
        kelvra::XmlLoadResult doc = kelvra::ParseXml(xml);
        kelvra::ListLoadResult list = kelvra::ReadListDocument(doc.root, format);
        benchmark::DoNotOptimize(list.entries.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_FetchParseFill)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseAndRead)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

// List loading as the side panel does it: fetch a make list over loopback HTTP, parse it and
// fill a list, for 100, 10,000 and 100,000 entries. Also parse+read alone, without the fetch.
#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "service/HttpTransport.h"
#include "service/ListLoader.h"
#include "service/ListsPresenter.h"
#include "service/XmlDocument.h"

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

// Serves one fixed body to every request on a loopback port, one connection at a time.
class FixedBodyServer {
public:
    explicit FixedBodyServer(std::string body) : m_body(std::move(body)) {
        m_listen = socket(AF_INET, SOCK_STREAM, 0);
        int one = 1;
        setsockopt(m_listen, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_listen, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        listen(m_listen, 16);
        socklen_t len = sizeof addr;
        getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &len);
        m_port = ntohs(addr.sin_port);
        m_thread = std::thread([this] { Serve(); });
    }
    ~FixedBodyServer() {
        m_stop = true;
        shutdown(m_listen, SHUT_RDWR);
        close(m_listen);
        m_thread.join();
    }
    std::string Root() const { return "http://127.0.0.1:" + std::to_string(m_port); }

private:
    void Serve() {
        const std::string head = "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: " +
                                 std::to_string(m_body.size()) + "\r\nConnection: close\r\n\r\n";
        while (!m_stop) {
            int client = accept(m_listen, nullptr, nullptr);
            if (client < 0) {
                continue;
            }
            char buffer[4096];
            std::string request;
            while (request.find("\r\n\r\n") == std::string::npos) {
                ssize_t n = recv(client, buffer, sizeof buffer, 0);
                if (n <= 0) {
                    break;
                }
                request.append(buffer, static_cast<std::size_t>(n));
            }
            std::string reply = head + m_body;
            std::size_t sent = 0;
            while (sent < reply.size()) {
                ssize_t n = send(client, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
                if (n <= 0) {
                    break;
                }
                sent += static_cast<std::size_t>(n);
            }
            close(client);
        }
    }

    std::string m_body;
    int m_listen = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

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
    std::int32_t ChosenId(kelvra::ListBox) const override { return 1; }
    void ShowErrorPage() override { ++errors; }
    std::size_t Size() const { return m_items.size(); }
    int errors = 0;

private:
    std::vector<kelvra::ListEntry> m_items;
};

void BM_FetchParseFill(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    FixedBodyServer server(MakeListXml("category", entries));
    auto transport = kelvra::MakeCurlTransport();
    kelvra::AppState app;
    app.xmlBaseUrl = server.Root() + "/kelvra_cd/xml/";
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

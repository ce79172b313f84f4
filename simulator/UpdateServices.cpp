// The version check and the updater's documents. get_version.asp answers returnValue "false"
// (and no version element) while no version is published; the update descriptor exists only
// while one is, and points at the file list with the service's own address. A file is served
// whole with its length, or chunked without one when it was published so.
#include "Areas.h"
#include "Encoding.h"
#include "Query.h"
#include "Reply.h"

#include <algorithm>
#include <memory>

namespace kelvra::sim {
namespace {

using httplib::Request;
using httplib::Response;

const char* kUpdateBase = "/kelvra_cd/kelvra_update/";

std::string ServiceRoot(const Request& req) {
    std::string host = req.get_header_value("Host");
    if (host.empty()) {
        host = "127.0.0.1:" + std::to_string(req.local_port);
    }
    return "http://" + host;
}

void Version(Context& context, Response& res) {
    std::string version = context.PublishedVersion();
    XmlBuilder doc("root");
    doc.ReturnValue(version.empty() ? "false" : "true");
    if (!version.empty()) {
        doc.Element("version", {{"now_version", version}});
    }
    SendXml(res, doc);
}

void Descriptor(Context& context, const Request& req, Response& res) {
    std::string version = context.PublishedVersion();
    if (version.empty()) {
        SendHtml(res, "<html><body><h1>404 Not Found</h1></body></html>\n", 404);
        return;
    }
    XmlBuilder doc("update");
    doc.Element("updatePath",
                {{"path", ServiceRoot(req) + kUpdateBase + "files.xml"}, {"ver", version}});
    SendXml(res, doc);
}

void FileList(Context& context, const Request& req, Response& res) {
    XmlBuilder doc("files");
    for (const UpdateFile& file : context.UpdateFiles()) {
        Attributes attributes = {
            {"file_name", ServiceRoot(req) + kUpdateBase + "files/" + PercentEncode(file.name)},
            {"temp_name", file.tempName},
            {"main_program", file.mainProgram ? file.tempName : ""}};
        if (!file.sha256.empty()) {
            attributes.emplace_back("sha256", file.sha256);
        }
        doc.Element("updateFile", attributes);
    }
    SendXml(res, doc);
}

void FileBody(Context& context, const Request& req, Response& res) {
    std::string prefix = std::string(kUpdateBase) + "files/";
    std::string name = PercentDecode(TargetPath(req.target).substr(prefix.size()));
    for (const UpdateFile& file : context.UpdateFiles()) {
        if (file.name != name) {
            continue;
        }
        res.status = 200;
        if (!file.chunked) {
            res.set_content(file.content, "application/octet-stream");
            return;
        }
        // Chunked, in pieces of 64 KiB: the client learns no length before the end.
        auto body = std::make_shared<std::string>(file.content);
        auto sent = std::make_shared<size_t>(0);
        res.set_chunked_content_provider(
            "application/octet-stream", [body, sent](size_t, httplib::DataSink& sink) {
                if (*sent >= body->size()) {
                    sink.done();
                    return true;
                }
                const size_t piece = std::min<size_t>(64 * 1024, body->size() - *sent);
                sink.write(body->data() + *sent, piece);
                *sent += piece;
                return true;
            });
        return;
    }
    SendHtml(res, "<html><body><h1>404 Not Found</h1></body></html>\n", 404);
}

} // namespace

void RegisterUpdateServices(Router& routes, Context& context) {
    routes.Add("/kelvra_cd/xml/get_version.asp",
               [&context](const Request&, Response& res) { Version(context, res); });
    routes.Add(std::string(kUpdateBase) + "update.xml",
               [&context](const Request& req, Response& res) { Descriptor(context, req, res); });
    routes.Add(std::string(kUpdateBase) + "files.xml",
               [&context](const Request& req, Response& res) { FileList(context, req, res); });
    routes.AddPrefix(
        std::string(kUpdateBase) + "files/",
        [&context](const Request& req, Response& res) { FileBody(context, req, res); });
}

} // namespace kelvra::sim

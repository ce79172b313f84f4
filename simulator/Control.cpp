// The test control interface under "/__sim/". Values here are UTF-8 (percent-encoded), unlike
// the service's own GB18030 queries. Bad control input answers 400 with a one-line reason.
#include "Accounts.h"
#include "Areas.h"
#include "Encoding.h"
#include "ListShapes.h"
#include "Query.h"
#include "Reply.h"
#include "Schema.h"

#include <fstream>
#include <optional>
#include <sstream>

namespace kelvra::sim {
namespace {

using httplib::Request;
using httplib::Response;

void SendText(Response& res, const std::string& text, int status = 200) {
    res.status = status;
    res.set_content(text, "text/plain; charset=utf-8");
}

Query ControlQuery(const Request& req) {
    return Query::FromTarget(req.target, false);
}

void Reset(Context& context, Response& res) {
    ResetDatabase(context.Database());
    context.ResetRunState();
    SendText(res, "ok\n");
}

void Probe(Context& context, const Request& req, Response& res) {
    Query q = ControlQuery(req);
    auto status = q.Int("status");
    if (!status || *status < 100 || *status > 599) {
        SendText(res, "status must be an HTTP status code\n", 400);
        return;
    }
    context.SetProbe(*status, q.Get("location"));
    SendText(res, "ok\n");
}

void ArmFault(Context& context, const Request& req, Response& res) {
    Query q = ControlQuery(req);
    std::string path = q.Get("path");
    auto kind = ParseFaultKind(q.Get("kind"));
    if (path.empty() || path[0] != '/' || !kind) {
        SendText(res,
                 "need path=/... and kind=refuse|hang|500|404|malformed|truncated|cut_chunked|"
                 "cut_unannounced|slow|oversized|redirect\n",
                 400);
        return;
    }
    Fault fault;
    fault.kind = *kind;
    fault.remaining = q.Int("count").value_or(1);
    fault.ms = q.Int("ms").value_or(0);
    fault.bytes = q.Int("bytes").value_or(0);
    fault.host = q.Get("host");
    fault.location = q.Get("location");
    context.ArmFault(path, fault);
    SendText(res, "ok\n");
}

void ListRequests(Context& context, Response& res) {
    std::string text;
    for (const std::string& target : context.Requests()) {
        text += target + "\n";
    }
    SendText(res, text);
}

std::string AccountText(const Account& a, bool xml) {
    Attributes fields = {{"gid", a.gid},
                         {"username", a.username},
                         {"password", a.password},
                         {"admin", a.admin},
                         {"s_mac", a.s_mac},
                         {"s_ip", a.s_ip},
                         {"s_login", a.s_login},
                         {"s_ndate", a.s_ndate},
                         {"s_hdate", a.s_hdate},
                         {"search_num", std::to_string(a.search_num)},
                         {"search_count", std::to_string(a.search_count)},
                         {"search_num_vip", std::to_string(a.search_num_vip)},
                         {"search_count_vip", std::to_string(a.search_count_vip)}};
    if (xml) {
        XmlBuilder doc("account");
        doc.Element("userinfo", fields);
        return doc.Finish(false);
    }
    std::string text;
    for (const auto& [key, value] : fields) {
        text += key + "=" + value + "\n";
    }
    return text;
}

// account?username=U[&create=1&password=P][&field=value ...][&format=xml]: sets the fields given,
// then answers the stored state.
void AccountControl(Context& context, const Request& req, Response& res) {
    Db& db = context.Database();
    Query q = ControlQuery(req);
    std::string username = q.Get("username");
    if (q.Get("create") == "1" && !CreateAccount(db, username, q.Get("password"))) {
        SendText(res, "cannot create account\n", 400);
        return;
    }
    if (!FindAccount(db, username)) {
        SendText(res, "no such account\n", 404);
        return;
    }
    for (const auto& [key, value] : q.Items()) {
        if (key == "username" || key == "format" || key == "create") {
            continue;
        }
        if (!SetAccountField(db, username, key, value)) {
            SendText(res, "cannot set " + key + "\n", 400);
            return;
        }
    }
    bool xml = q.Get("format") == "xml";
    std::string body = AccountText(*FindAccount(db, username), xml);
    if (xml) {
        res.set_content(body, "text/xml; charset=utf-8");
    } else {
        SendText(res, body);
    }
}

void Version(Context& context, const Request& req, Response& res) {
    context.SetPublishedVersion(ControlQuery(req).Get("v"));
    SendText(res, "ok\n");
}

// The whole content of a file on disk; nullopt when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes.str();
}

// update_files?name=N(&content=C | &file=PATH)[&temp_name=T][&sha256=H][&main_program=1]
// [&chunked=1], or ?clear=1. file= publishes the bytes of a file on disk (a real executable).
void UpdateFiles(Context& context, const Request& req, Response& res) {
    Query q = ControlQuery(req);
    if (q.Get("clear") == "1") {
        context.ClearUpdateFiles();
        SendText(res, "ok\n");
        return;
    }
    UpdateFile file;
    file.name = q.Get("name");
    if (file.name.empty() || file.name.find('/') != std::string::npos) {
        SendText(res, "need name= without a slash\n", 400);
        return;
    }
    file.tempName = q.Get("temp_name", file.name);
    if (auto path = q.Find("file")) {
        auto bytes = ReadWholeFile(*path);
        if (!bytes) {
            SendText(res, "cannot read file= " + *path + "\n", 400);
            return;
        }
        file.content = std::move(*bytes);
    } else {
        file.content = q.Get("content");
    }
    file.sha256 = q.Get("sha256");
    file.mainProgram = q.Get("main_program") == "1";
    file.chunked = q.Get("chunked") == "1";
    context.AddUpdateFile(file);
    SendText(res, "ok " + std::to_string(file.content.size()) + "\n");
}

std::string GeneratedList(const ListShape& shape, int entries) {
    XmlBuilder doc("root");
    doc.ReturnValue("true");
    for (int i = 1; i <= entries; ++i) {
        doc.Element(shape.element, {{shape.idAttribute, std::to_string(i)},
                                    {shape.nameAttribute, "Entry " + std::to_string(i) + " 条目"}});
    }
    return doc.Finish(shape.gb2312);
}

// list?path=P[&count=N](&body=XML[&charset=gb2312] | &entries=N): the next N requests of P
// get this body instead of the real reply.
void CannedList(Context& context, const Request& req, Response& res) {
    Query q = ControlQuery(req);
    std::string path = q.Get("path");
    if (!path.empty() && path[0] != '/') {
        path = "/kelvra_cd/xml/" + path;
    }
    CannedReply reply;
    reply.remaining = q.Int("count").value_or(1);
    if (auto entries = q.Int("entries")) {
        const ListShape* shape = FindListShape(path);
        if (!shape || *entries < 0) {
            SendText(res, "entries= needs a list service path\n", 400);
            return;
        }
        reply.body = GeneratedList(*shape, *entries);
        reply.contentType = shape->gb2312 ? "text/xml; charset=gb2312" : "text/xml; charset=utf-8";
    } else if (auto body = q.Find("body")) {
        bool gb2312 = q.Get("charset") == "gb2312";
        reply.body = gb2312 ? Utf8ToGb2312(*body) : *body;
        reply.contentType = gb2312 ? "text/xml; charset=gb2312" : "text/xml; charset=utf-8";
    } else {
        SendText(res, "need body= or entries=\n", 400);
        return;
    }
    if (path.size() < 2) {
        SendText(res, "need path=\n", 400);
        return;
    }
    context.ArmCanned(path, reply);
    SendText(res, "ok\n");
}

} // namespace

void RegisterControl(Router& routes, Context& context) {
    routes.Add("/__sim/reset", [&context](const Request&, Response& res) { Reset(context, res); });
    routes.Add("/__sim/probe",
               [&context](const Request& req, Response& res) { Probe(context, req, res); });
    routes.Add("/__sim/fault",
               [&context](const Request& req, Response& res) { ArmFault(context, req, res); });
    routes.Add("/__sim/requests",
               [&context](const Request&, Response& res) { ListRequests(context, res); });
    routes.Add("/__sim/clear_requests", [&context](const Request&, Response& res) {
        context.ClearRequests();
        SendText(res, "ok\n");
    });
    routes.Add("/__sim/account", [&context](const Request& req, Response& res) {
        AccountControl(context, req, res);
    });
    routes.Add("/__sim/version",
               [&context](const Request& req, Response& res) { Version(context, req, res); });
    routes.Add("/__sim/update_files",
               [&context](const Request& req, Response& res) { UpdateFiles(context, req, res); });
    routes.Add("/__sim/list",
               [&context](const Request& req, Response& res) { CannedList(context, req, res); });
}

} // namespace kelvra::sim

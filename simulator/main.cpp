// kelvra-service-sim --port N --db PATH
// The stand-in of the Kelvra catalogue service on 127.0.0.1. Prints the bound port as its first
// line on standard output, serves until SIGTERM or SIGINT, then shuts down cleanly.
#include "Context.h"
#include "Db.h"
#include "Query.h"
#include "Schema.h"
#include "Service.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <pthread.h>
#include <string>
#include <thread>

namespace {

constexpr int kDefaultPort = 8780;

struct Options {
    int port = kDefaultPort;
    std::string db = "kelvra-sim.db";
};

int Usage(const char* message) {
    std::fprintf(stderr,
                 "kelvra-service-sim: %s\n"
                 "usage: kelvra-service-sim [--port N] [--db PATH]\n"
                 "  --port N   port on 127.0.0.1 (0: a free port; default %d)\n"
                 "  --db PATH  SQLite database, created with seed data when missing\n",
                 message, kDefaultPort);
    return 2;
}

bool ParseOptions(int argc, char** argv, Options& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if ((arg == "--port" || arg == "--db") && i + 1 >= argc) {
            error = "missing value after " + arg;
            return false;
        }
        if (arg == "--port") {
            auto port = kelvra::sim::ParseInt32(argv[++i]);
            if (!port || *port < 0 || *port > 65535) {
                error = std::string("bad port: ") + argv[i];
                return false;
            }
            options.port = *port;
        } else if (arg == "--db") {
            options.db = argv[++i];
        } else {
            error = "unknown argument: " + arg;
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error)) {
        return Usage(error.c_str());
    }
    // Signals are taken by one waiting thread; every other thread inherits the blocked mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    try {
        kelvra::sim::Db db(options.db);
        kelvra::sim::EnsureSchema(db);
        kelvra::sim::Context context(db);
        kelvra::sim::Service service(context);
        int port = service.Bind(options.port);
        if (port < 0) {
            std::fprintf(stderr, "kelvra-service-sim: cannot listen on 127.0.0.1:%d: %s\n",
                         options.port, std::strerror(errno));
            return 1;
        }
        std::printf("%d\n", port);
        std::fflush(stdout);

        std::thread waiter([&] {
            int signal = 0;
            sigwait(&stopSignals, &signal);
            service.Stop();
        });
        bool ran = service.Run();
        if (!ran) {
            // The server ended on its own: wake the waiter so that it can be joined.
            pthread_kill(waiter.native_handle(), SIGTERM);
        }
        waiter.join();
        return ran ? 0 : 1;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "kelvra-service-sim: %s\n", failure.what());
        return 1;
    }
}

#pragma once
// Helpers of the in-process client benchmarks: medians, wall clock, and the resident memory of
// a process and all its descendants (the web engine's helper processes) read from /proc.

#include <QDir>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <map>
#include <vector>

#include <unistd.h>

namespace kelvra::bench {

inline double NowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

inline double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct ProcessMemory {
    long ownKiB = 0;      // resident memory of the process itself
    long childrenKiB = 0; // sum over all descendants
    int children = 0;     // number of descendants
    long pssKiB = 0;      // proportional set size of the process and all descendants
    QStringList kinds;    // per descendant: its engine "--type=" (or command name) and MiB
    long TotalKiB() const { return ownKiB + childrenKiB; }
};

// A "Name:   N kB" field of a /proc file in KiB; 0 when the process is gone.
inline long ProcField(int pid, const char* file, const QByteArray& name) {
    QFile status(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(file)));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(name))
            return line.mid(name.size()).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

// VmRSS of one process in KiB.
inline long ResidentKiB(int pid) {
    return ProcField(pid, "status", "VmRSS:");
}

// Proportional set size in KiB: shared pages divided among the processes sharing them.
inline long ProportionalKiB(int pid) {
    return ProcField(pid, "smaps_rollup", "Pss:");
}

// The process and every descendant, found through the parent ids in /proc/<pid>/stat; a
// descendant whose command name starts with `skip` is left out with its own descendants.
inline ProcessMemory TreeMemory(int root = int(getpid()), const QByteArray& skip = {}) {
    std::multimap<int, int> childrenOf;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const int pid = entry.toInt(&number);
        if (!number)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = stat.readAll();
        const int open = text.indexOf('(');
        const int close = text.lastIndexOf(')'); // the command name may hold blanks
        if (!skip.isEmpty() && text.mid(open + 1, close - open - 1).startsWith(skip))
            continue;
        const QList<QByteArray> fields = text.mid(close + 2).split(' ');
        if (fields.size() > 1)
            childrenOf.emplace(fields[1].toInt(), pid);
    }
    ProcessMemory memory;
    memory.ownKiB = ResidentKiB(root);
    memory.pssKiB = ProportionalKiB(root);
    std::vector<int> queue{root};
    while (!queue.empty()) {
        const int parent = queue.back();
        queue.pop_back();
        auto [first, last] = childrenOf.equal_range(parent);
        for (auto it = first; it != last; ++it) {
            const long kib = ResidentKiB(it->second);
            memory.childrenKiB += kib;
            memory.pssKiB += ProportionalKiB(it->second);
            QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(it->second));
            QString kind = QStringLiteral("?");
            if (cmdline.open(QIODevice::ReadOnly)) {
                const QList<QByteArray> args = cmdline.readAll().split('\0');
                kind = QString::fromLocal8Bit(args.value(0)).section(QLatin1Char('/'), -1);
                for (const QByteArray& arg : args) {
                    if (arg.startsWith("--type="))
                        kind = QString::fromLatin1(arg.mid(7));
                }
            }
            memory.kinds << QStringLiteral("%1 %2").arg(kind).arg(kib / 1024.0, 0, 'f', 1);
            ++memory.children;
            queue.push_back(it->second);
        }
    }
    return memory;
}

} // namespace kelvra::bench

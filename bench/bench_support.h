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
    long TotalKiB() const { return ownKiB + childrenKiB; }
};

// VmRSS of one process in KiB; 0 when it is gone.
inline long ResidentKiB(int pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
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
    std::vector<int> queue{root};
    while (!queue.empty()) {
        const int parent = queue.back();
        queue.pop_back();
        auto [first, last] = childrenOf.equal_range(parent);
        for (auto it = first; it != last; ++it) {
            memory.childrenKiB += ResidentKiB(it->second);
            ++memory.children;
            queue.push_back(it->second);
        }
    }
    return memory;
}

} // namespace kelvra::bench

#pragma once

// What every benchmark of the desktop program shares: settling the event
// queue after an action, and a main() that runs the benchmarks inside a
// QApplication (offscreen unless QT_QPA_PLATFORM says otherwise).
#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <functional>

namespace bitloom::bench {

// Settles everything an action queued: highlighting, layout and paints.
inline void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// Runs the registered benchmarks; `beforeQuit` closes what must go before
// the application object does.
inline int runBenchmarks(int argc, char* argv[], const std::function<void()>& beforeQuit = {})
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (beforeQuit)
        beforeQuit();
    return 0;
}

} // namespace bitloom::bench

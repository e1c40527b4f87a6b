#pragma once
// Runs the event loop until a condition holds or time runs out, so hand-overs
// from reader threads and queued rescans get served.

#include <QCoreApplication>
#include <QElapsedTimer>

#include <chrono>
#include <functional>
#include <thread>

inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 2000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

inline void Pump(int ms)
{
    PumpUntil([] { return false; }, ms);
}

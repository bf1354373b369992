#pragma once

// What the driver's two halves share: the clock, waiting with the event
// loop running, and mpv's JSON IPC.

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QTimer>

#include <chrono>
#include <optional>
#include <string>

#include "report.h"

namespace bench {

// CLOCK_MONOTONIC, as the key listener's timestamps.
using Clock = std::chrono::steady_clock;

inline double MsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Lets the event loop run for `ms`: ticks, D-Bus answers, repaints.
inline void WaitMs(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// mpv's --input-ipc-server socket, used synchronously.
class MpvIpc {
public:
    bool Open(const QString& path)
    {
        socket_.connectToServer(path);
        return socket_.waitForConnected(2000);
    }

    // The answer's data; nullopt on an error or no answer in time. Events
    // that come first are dropped.
    std::optional<QJsonValue> Request(const QJsonArray& command)
    {
        const int id = next_id_++;
        socket_.write(QJsonDocument(QJsonObject{{"command", command}, {"request_id", id}}).toJson(QJsonDocument::Compact) +
                      '\n');
        socket_.waitForBytesWritten(1000);
        const auto deadline = Clock::now() + std::chrono::seconds(1);
        while (const auto message = Next(deadline))
            if (message->value("request_id").toInt() == id)
                return message->value("error") == "success" ? std::optional(message->value("data")) : std::nullopt;
        return std::nullopt;
    }

    // Waits for a change of an observed property; false on timeout.
    bool WaitChange(const QString& name, int timeout_ms)
    {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
        while (const auto message = Next(deadline))
            if (message->value("event") == "property-change" && message->value("name") == name) return true;
        return false;
    }

    void DropEvents()
    {
        buffer_ += socket_.readAll();
        buffer_.remove(0, buffer_.lastIndexOf('\n') + 1);
    }

private:
    std::optional<QJsonObject> Next(Clock::time_point deadline)
    {
        for (;;) {
            if (const qsizetype end = buffer_.indexOf('\n'); end >= 0) {
                const QJsonObject message = QJsonDocument::fromJson(buffer_.left(end)).object();
                buffer_.remove(0, end + 1);
                return message;
            }
            const int left = static_cast<int>(MsBetween(Clock::now(), deadline));
            if (socket_.bytesAvailable() == 0 && (left <= 0 || !socket_.waitForReadyRead(left))) return std::nullopt;
            buffer_ += socket_.readAll();
        }
    }

    QLocalSocket socket_;
    QByteArray buffer_;
    int next_id_ = 1;
};

class OutsidePlayer;

// In this process, through the App and MprisLink the program is made of:
// the position shown against the player's own, and seeks made elsewhere.
void RunPlayerFigures(OutsidePlayer& player, const std::string& who, int sample_seconds, Report& report);
// A passage repeated over `passes` passes: past B when the jump back comes,
// the gap as played, and the calls to the player meanwhile.
void RunPracticeFigures(OutsidePlayer& player, const std::string& who, int passes, int sample_seconds, Report& report);
// The list operations at the list's bound, with mpv playing.
void RunListOperations(const QString& out_dir, int rounds, Report& report);

} // namespace bench

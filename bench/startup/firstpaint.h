#pragma once

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>

// Reports, on standard output, the moment the watched window first finished
// painting and the process's peak resident memory, then quits the application.
class FirstPaintProbe : public QObject
{
public:
    explicit FirstPaintProbe(QWidget *window) : m_window(window)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // Runs once the paint (and the flush that follows it) is done.
            QTimer::singleShot(0, qApp, [] {
                // Wall-clock microseconds, comparable with the launching process's clock.
                const auto now = std::chrono::system_clock::now().time_since_epoch();
                std::printf(
                    "painted %lld\n",
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
                std::printf("peak_kib %lld\n", peakKib());
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    static long long peakKib()
    {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').value(0).toLongLong();
        }
        return -1;
    }

    QWidget *m_window;
    bool m_seen = false;
};

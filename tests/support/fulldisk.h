#pragma once

#include <QtGlobal>

#ifndef Q_OS_WIN
#include <csignal>
#include <sys/resource.h>

// While it lives, no file of the process can grow: every write fails as on a full disk
// ("File too large"), without a file system of its own and without privileges.
class FullDisk
{
public:
    FullDisk()
    {
        m_set = ::getrlimit(RLIMIT_FSIZE, &m_old) == 0;
        rlimit none = m_old;
        none.rlim_cur = 0;
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        m_set = m_set && ::setrlimit(RLIMIT_FSIZE, &none) == 0;
    }
    ~FullDisk()
    {
        if (m_set)
            ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

    // Whether the limit is in force.
    bool isSet() const { return m_set; }

private:
    rlimit m_old{};
    void (*m_handler)(int) = nullptr;
    bool m_set = false;
};
#else
// Windows has no file size limit per process: a full disk cannot be made this way.
class FullDisk
{
public:
    bool isSet() const { return false; }
};
#endif

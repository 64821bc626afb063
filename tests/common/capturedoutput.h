#ifndef CAPTUREDOUTPUT_H
#define CAPTUREDOUTPUT_H

#include <QByteArray>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

// Captures what the process writes to a standard stream (1 or 2) while the
// object lives, through a pipe: nothing touches the disk. Output beyond the
// pipe's buffer (64 KiB on Linux) would block the writer; tests write less.
class CapturedOutput
{
public:
    explicit CapturedOutput(int fd) : m_fd(fd)
    {
        std::fflush(fd == 1 ? stdout : stderr);
        if (pipe(m_pipe) != 0)
            return;
        fcntl(m_pipe[0], F_SETFL, O_NONBLOCK);
        m_saved = dup(fd);
        dup2(m_pipe[1], fd);
    }
    ~CapturedOutput() { text(); }
    CapturedOutput(const CapturedOutput&) = delete;
    CapturedOutput& operator=(const CapturedOutput&) = delete;

    // Everything written so far; gives the stream back on the first call.
    QByteArray text()
    {
        if (m_saved >= 0) {
            std::fflush(m_fd == 1 ? stdout : stderr);
            dup2(m_saved, m_fd);
            close(m_saved);
            close(m_pipe[1]);
            m_saved = -1;
            char buffer[4096];
            ssize_t count;
            while ((count = read(m_pipe[0], buffer, sizeof buffer)) > 0)
                m_text.append(buffer, count);
            close(m_pipe[0]);
        }
        return m_text;
    }

private:
    int m_fd;
    int m_pipe[2] = {-1, -1};
    int m_saved = -1;
    QByteArray m_text;
};

#endif

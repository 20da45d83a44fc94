#pragma once

#include <chrono>
#include <fcntl.h>
#include <functional>
#include <future>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// A named pipe for tests of readers that must refuse it rather than wait for
// a writer. answersAtOnce runs the open on a thread; should it still wait
// after a generous grace, the pipe is opened for writing and closed, which
// releases the reader, so a fault fails its test instead of hanging it.
class TestFifo
{
public:
    explicit TestFifo(std::string fifoPath) : path(std::move(fifoPath))
    {
        ::unlink(path.c_str());
        made = ::mkfifo(path.c_str(), 0600) == 0;
    }
    ~TestFifo() { ::unlink(path.c_str()); }
    TestFifo(const TestFifo&) = delete;
    TestFifo& operator=(const TestFifo&) = delete;

    // False when the open was still waiting after the grace; answer is the
    // open's own answer.
    bool answersAtOnce(const std::function<bool()>& open, bool& answer) const
    {
        auto pending = std::async(std::launch::async, open);
        if (pending.wait_for(std::chrono::seconds(20)) == std::future_status::ready) {
            answer = pending.get();
            return true;
        }
        int writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
        answer = pending.get();
        return false;
    }

    std::string path;
    bool made = false;
};

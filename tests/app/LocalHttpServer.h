#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

// A plain-HTTP server on the loopback interface for one test: it answers
// every request with the status and body it is given, or, stalled, accepts
// and says nothing until it is destroyed.
class LocalHttpServer
{
public:
    LocalHttpServer()
    {
        listener = ::socket(AF_INET, SOCK_STREAM, 0);
        int yes = 1;
        ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
        ::listen(listener, 8);
        worker = std::thread([this] { serve(); });
    }
    ~LocalHttpServer()
    {
        running = false;
        ::shutdown(listener, SHUT_RDWR);
        ::close(listener);
        worker.join();
    }

    std::string host() const { return "127.0.0.1:" + std::to_string(port); }

    std::atomic<int> status{200};
    std::string body;  // set before the first request
    std::atomic<bool> stalled{false};
    std::atomic<int> requests{0};
    std::string lastRequest;

private:
    void serve()
    {
        while (running) {
            int client = ::accept(listener, nullptr, nullptr);
            if (client < 0)
                return;
            ++requests;
            char buffer[4096];
            ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
            if (got > 0 && lastRequest.empty())
                lastRequest.assign(buffer, size_t(got));
            if (stalled) {
                while (running)
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                ::close(client);
                return;
            }
            std::string answer = "HTTP/1.1 " + std::to_string(status.load()) + " X\r\nContent-Length: " +
                                 std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
            ::send(client, answer.data(), answer.size(), MSG_NOSIGNAL);
            ::close(client);
        }
    }

    int listener = -1;
    int port = 0;
    std::atomic<bool> running{true};
    std::thread worker;
};

#pragma once

// A tiny HTTP server on 127.0.0.1 for the engine tests: fixed pages by path,
// 404 for the rest. It stops with its object.

#include <atomic>
#include <map>
#include <string>
#include <thread>

namespace enginetest {

class LoopbackServer {
public:
    explicit LoopbackServer(std::map<std::string, std::string> pages);
    ~LoopbackServer();

    std::string url(const std::string& path) const;

private:
    void serve();
    void answer(int client);

    std::map<std::string, std::string> m_pages;
    int m_socket = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace enginetest

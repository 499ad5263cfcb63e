#include "LoopbackServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace enginetest {

LoopbackServer::LoopbackServer(std::map<std::string, std::string> pages)
    : m_pages(std::move(pages)) {
    m_socket = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(m_socket, 8) != 0)
        throw std::runtime_error("The loopback server could not listen");
    socklen_t length = sizeof address;
    getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { serve(); });
}

LoopbackServer::~LoopbackServer() {
    m_stop = true;
    m_thread.join();
    close(m_socket);
}

std::string LoopbackServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

void LoopbackServer::serve() {
    while (!m_stop) {
        pollfd p{m_socket, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0)
            continue;
        int client = accept(m_socket, nullptr, nullptr);
        if (client >= 0) {
            answer(client);
            close(client);
        }
    }
}

void LoopbackServer::answer(int client) {
    std::string request;
    char buffer[2048];
    while (request.find("\r\n\r\n") == std::string::npos) {
        pollfd p{client, POLLIN, 0};
        if (poll(&p, 1, 2000) <= 0)
            return;
        ssize_t n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0)
            return;
        request.append(buffer, static_cast<size_t>(n));
    }
    size_t start = request.find(' ') + 1;
    std::string path = request.substr(start, request.find(' ', start) - start);
    path = path.substr(0, path.find('?'));
    auto page = m_pages.find(path);
    std::string body = page == m_pages.end() ? "<html><body>Not found</body></html>" : page->second;
    std::string head = page == m_pages.end() ? "HTTP/1.0 404 Not Found" : "HTTP/1.0 200 OK";
    std::string response =
        head + "\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
        "\r\nConnection: close\r\n\r\n" + body;
    send(client, response.data(), response.size(), MSG_NOSIGNAL);
}

} // namespace enginetest

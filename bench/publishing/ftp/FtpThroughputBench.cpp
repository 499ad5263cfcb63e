// Measures Get and Put of the FTP client and of curl (active mode too)
// against one local vsftpd, and prints both. Usage: ftp_throughput_bench
// [megabytes per file, default 64] [runs, default 3].

#include "support/VsftpdServer.h"

#include "publishing/ftp/FtpClient.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The best of `runs` timings, in MB/s.
double bestRate(size_t bytes, int runs, const std::function<void()>& once) {
    double best = 0;
    for (int i = 0; i < runs; ++i) {
        auto started = Clock::now();
        once();
        double seconds = std::chrono::duration<double>(Clock::now() - started).count();
        best = std::max(best, bytes / 1e6 / seconds);
    }
    return best;
}

void run(const std::string& command) {
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("failed: " + command);
}

void makeFile(const std::filesystem::path& path, size_t bytes) {
    std::mt19937_64 generator(7);
    std::vector<uint64_t> block(1 << 16);
    std::ofstream out(path, std::ios::binary);
    for (size_t written = 0; written < bytes; written += block.size() * 8) {
        for (auto& word : block)
            word = generator();
        out.write(reinterpret_cast<const char*>(block.data()),
                  std::min(bytes - written, block.size() * 8));
    }
}

} // namespace

int main(int argc, char** argv) {
    size_t megabytes = argc > 1 ? std::stoul(argv[1]) : 64;
    int runs = argc > 2 ? std::stoi(argv[2]) : 3;
    size_t bytes = megabytes << 20;

    VsftpdServer server;
    if (!server.unavailable().empty()) {
        std::cerr << "cannot run: " << server.unavailable() << "\n";
        return 1;
    }
    auto work = server.root().parent_path() / "work";
    std::filesystem::create_directories(work);
    auto source = work / "source.bin";
    makeFile(source, bytes);
    std::filesystem::copy_file(source, server.site() / "source.bin");

    ftp::FtpSettings settings;
    settings.port = server.port();
    if (const char* send = std::getenv("FTP_BENCH_SEND_BUFFER"))
        settings.sendBufferSize = std::stoul(send);
    ftp::FtpClient client(settings);
    client.Host = "127.0.0.1";
    client.Username = "anonymous";
    client.Password = "bench@example.com";
    client.Connect();
    client.ChangeDirectory(server.clientPath("site"));

    std::string url = "ftp://127.0.0.1:" + std::to_string(server.port()) + "/site/";
    std::string curl = "curl -s -S -P 127.0.0.1 --user anonymous:bench@example.com ";
    auto received = (work / "received.bin").string();

    double ourGet = bestRate(bytes, runs, [&] { client.Get("source.bin", received); });
    double curlGet = bestRate(bytes, runs, [&] { run(curl + url + "source.bin -o " + received); });
    double ourPut = bestRate(bytes, runs, [&] { client.Put(source.string(), "put-ours.bin"); });
    double curlPut = bestRate(
        bytes, runs, [&] { run(curl + "-T " + source.string() + " " + url + "put-curl.bin"); });
    client.Disconnect();

    std::printf("FTP throughput, %zu MB file, best of %d, loopback vsftpd (MB/s)\n", megabytes,
                runs);
    std::printf("  Get  tavrisk %8.1f   curl %8.1f   ratio %.2f\n", ourGet, curlGet,
                ourGet / curlGet);
    std::printf("  Put  tavrisk %8.1f   curl %8.1f   ratio %.2f\n", ourPut, curlPut,
                ourPut / curlPut);
    return 0;
}

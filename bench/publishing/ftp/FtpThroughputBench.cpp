// Measures Get and Put of the FTP client and of curl (active mode too)
// against one local vsftpd in the same run, and prints the median times and
// their ratio, ours over curl's: below 1.0 the client is the faster. Usage:
// ftp_throughput_bench [MiB per file, default 256] [runs, default 5].

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

// The median of `runs` timings, in seconds. Ours and curl's alternate run
// by run, so that a slow moment of the machine falls on both.
std::pair<double, double> medianTimes(int runs, const std::function<void()>& ours,
                                      const std::function<void()>& theirs) {
    auto timed = [](const std::function<void()>& once) {
        auto started = Clock::now();
        once();
        return std::chrono::duration<double>(Clock::now() - started).count();
    };
    std::vector<double> our, their;
    for (int i = 0; i < runs; ++i) {
        our.push_back(timed(ours));
        their.push_back(timed(theirs));
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
    };
    return {median(our), median(their)};
}

void report(const char* what, std::pair<double, double> times, size_t bytes) {
    std::printf("  %s  ours %7.3f s (%6.0f MB/s)   curl %7.3f s (%6.0f MB/s)   "
                "time ratio ours/curl %.2f\n",
                what, times.first, bytes / 1e6 / times.first, times.second,
                bytes / 1e6 / times.second, times.first / times.second);
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
    size_t megabytes = argc > 1 ? std::stoul(argv[1]) : 256;
    int runs = argc > 2 ? std::stoi(argv[2]) : 5;
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
    if (const char* receive = std::getenv("FTP_BENCH_RECEIVE_BUFFER"))
        settings.receiveBufferSize = std::stoul(receive);
    ftp::FtpClient client(settings);
    client.Host = "127.0.0.1";
    client.Username = "anonymous";
    client.Password = "bench@example.com";
    client.Connect();
    client.ChangeDirectory(server.clientPath("site"));

    std::string url = "ftp://127.0.0.1:" + std::to_string(server.port()) + "/site/";
    std::string curl = "curl -s -S -P 127.0.0.1 --user anonymous:bench@example.com ";
    auto received = (work / "received.bin").string();

    auto get = medianTimes(
        runs, [&] { client.Get("source.bin", received); },
        [&] { run(curl + url + "source.bin -o " + received); });
    auto put = medianTimes(
        runs, [&] { client.Put(source.string(), "put-ours.bin"); },
        [&] { run(curl + "-T " + source.string() + " " + url + "put-curl.bin"); });
    client.Disconnect();

    std::printf("FTP transfers of a %zu MiB file, median of %d, loopback vsftpd, active mode\n",
                megabytes, runs);
    report("Get", get, bytes);
    report("Put", put, bytes);
    return 0;
}

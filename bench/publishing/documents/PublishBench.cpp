// Publishes a page with 50 pictures of 20 KB through the upload (save,
// reference rewriting, STOR and PWD for each file) to a local vsftpd, and
// has curl send the same 51 files in one connection in active mode to the
// same server; both connect and log in. Prints both times and their ratio.
// Usage: publish_bench [pictures, default 50] [KB each, default 20] [runs, default 5]

#include "support/VsftpdServer.h"

#include "support/FakeBrowser.h"
#include "support/ScriptedDialogs.h"
#include "publishing/documents/Upload.h"

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

double bestSeconds(int runs, const std::function<void()>& once) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        auto started = Clock::now();
        once();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - started).count());
    }
    return best;
}

void writeRandom(const std::filesystem::path& path, size_t bytes, unsigned seed) {
    std::mt19937 generator(seed);
    std::string data(bytes, '\0');
    for (char& c : data)
        c = static_cast<char>(generator());
    std::ofstream(path, std::ios::binary) << data;
}

} // namespace

int main(int argc, char** argv) {
    int pictures = argc > 1 ? std::stoi(argv[1]) : 50;
    size_t kilobytes = argc > 2 ? std::stoul(argv[2]) : 20;
    int runs = argc > 3 ? std::stoi(argv[3]) : 5;

    VsftpdServer server;
    if (!server.unavailable().empty()) {
        std::cerr << "cannot run: " << server.unavailable() << "\n";
        return 1;
    }
    auto work = server.root().parent_path() / "work";
    std::filesystem::create_directories(work / "copies");
    // An earlier copy to replace keeps the page's own name for it.
    std::ofstream(work / "copies" / "gallery.htm") << "";
    std::string body = "<head><title>Gallery</title></head><body><h1>Gallery</h1>\n";
    std::vector<std::string> files;
    for (int i = 0; i < pictures; ++i) {
        auto picture = work / ("picture" + std::to_string(i) + ".png");
        writeRandom(picture, kilobytes * 1024, static_cast<unsigned>(i));
        files.push_back(picture.string());
        body += "<p><img src=\"file://" + picture.string() + "\"></p>\n";
    }
    body += "</body>";

    auto shown = browser::fake::FakeBrowser::create();
    shown->document = browser::fake::FakeDocument::create();
    shown->document->doctype = "<!DOCTYPE html>";
    shown->document->html()->put_innerHTML(body.c_str());
    ui::ScriptedDialogs dialogs;
    ui::ScopedDialogs scoped(dialogs);

    ftp::FtpSettings settings;
    settings.port = server.port();
    ftp::FtpClient client(settings);
    client.Host = "127.0.0.1";
    client.Username = "anonymous";
    client.Password = "bench@example.com";
    std::string site = server.clientPath("site");

    double ours = bestSeconds(runs, [&] {
        connections::UrlParts uri = connections::UrlParts::parse("http://127.0.0.1/gallery.htm");
        std::string remote = "http://127.0.0.1/gallery.htm";
        std::vector<std::string> names, uploadFiles;
        documents::Upload upload({
            .browser = shown.get(),
            .pageUri = uri,
            .remotePageURL = remote,
            .uploadNames = names,
            .uploadFiles = uploadFiles,
            .ftp = client,
            .folder = (work / "copies").string() + "/",
            .reconnect = [] {},
            .saveToDisk = [] {},
            .status = {},
            .trace = {},
        });
        client.Connect();
        client.ChangeDirectory(site);
        dialogs.queue(ui::Answer::Yes);
        if (upload.run() != documents::UploadOutcome::Published)
            throw std::runtime_error("the page was not published");
        client.Disconnect();
    });

    // The same page and pictures, in one curl command: one connection.
    std::string page = (work / "copies" / "gallery.htm").string();
    std::string list = page;
    for (const std::string& file : files)
        list += "," + file;
    std::string curl = "curl -s -S -P 127.0.0.1 --user anonymous:bench@example.com -T '{" + list +
                       "}' ftp://127.0.0.1:" + std::to_string(server.port()) + "/site/";
    double theirs = bestSeconds(runs, [&] {
        if (std::system(curl.c_str()) != 0)
            throw std::runtime_error("curl failed");
    });

    std::printf("Publishing a page with %d pictures of %zu KB, best of %d, loopback vsftpd\n",
                pictures, kilobytes, runs);
    std::printf("  tavrisk upload (save, rewrite, STOR+PWD each) %7.3f s\n", ours);
    std::printf("  curl, same %d files in one connection       %7.3f s\n", pictures + 1, theirs);
    std::printf("  ratio tavrisk/curl %.2f (goal <= 1.00)\n", ours / theirs);
    return 0;
}

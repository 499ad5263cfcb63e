#pragma once

#include "publishing/ftp/BandFormAccess.h"
#include "publishing/ftp/FtpClient.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace ftp {

// The FTP session holder: the one FTP session of the process, its
// parameters, the remote start and working directories, the last listing,
// and the opening of a site page for editing (getfile). It is never shown;
// its status bar and progress bar are kept as plain values.
class TMainForm {
public:
    explicit TMainForm(FtpSettings settings = {});
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    std::string FtpServerEdit;
    std::string UserIDEdit;
    std::string PasswordEdit;
    std::string remotestart = "/";
    std::string CurrentDirEdit = "/";
    std::vector<std::string> DirectoryListBox;
    FtpClient IdFTP1;

    BandFormAccess* FBandForm = nullptr;
    // The wizard's failure exit; without one, the session is disconnected
    // and the message shown in a "Warning" box.
    ErrorRoutine* FErrorRoutine = nullptr;
    std::string FErrorText;
    int64_t FExpectedSize = 0;
    std::chrono::system_clock::time_point FTransferStart;

    // The form's own status panel 1 and progress bar.
    std::string StatusPanel;
    int64_t ProgressMax = 0;
    int64_t ProgressPosition = 0;

    void ConnectButtonClick();
    void changedir(const std::string& directory);
    void ChDirButtonClick();
    // Downloads a page of the current remote directory into the working
    // copy, points its relative references at the site and shows it.
    void getfile(const std::string& remoteName);

    void IdFTP1Status(FtpStatus kind, const std::string& text);
    void IdFTP1WorkBegin(int64_t expected);
    void IdFTP1Work(int64_t done);
    void IdFTP1WorkEnd();
    void IdFTP1Disconnected();

private:
    void error(const std::string& message);
    // A box titled "Error", unless the user has called off the run.
    void report(const std::string& text);
    void bandStatus(const std::string& text);
    void trace(const std::string& line);
    void enterRemoteStart();
    void addBaseElement(const std::string& localPath);
    void showWorkingCopy(const std::string& localPath);
};

} // namespace ftp

#pragma once

#include "forms/FormObject.h"

#include <string>

namespace shell {

// What the edit-mode switch uses of the FTP session form: the remote start
// and current folders, and whether its client is connected.
class FtpSessionForm {
public:
    virtual ~FtpSessionForm() = default;
    virtual void setRemoteStart(const std::string& folder) = 0;
    virtual void setCurrentDir(const std::string& folder) = 0;
    virtual bool connected() const = 0;
    virtual void disconnect() = 0;
    // Ends the session; sends nothing when not connected.
    virtual void quit() = 0;
};

// Stands in for the FTP session form until publishing by FTP is built into
// the bar: it holds the folders and is never connected.
class PendingFtpSessionForm : public forms::FormObject, public FtpSessionForm {
public:
    PendingFtpSessionForm() : FormObject(forms::namedForm("TMainForm")) {}

    void setRemoteStart(const std::string& folder) override { remotestart = folder; }
    void setCurrentDir(const std::string& folder) override { CurrentDirEdit = folder; }
    bool connected() const override { return false; }
    void disconnect() override {}
    void quit() override {}

    std::string remotestart;
    std::string CurrentDirEdit;
    forms::BandFormLink* FBandForm = nullptr;
};

} // namespace shell

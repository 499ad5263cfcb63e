#pragma once

#include "forms/FormObject.h"
#include "publishing/ftp/TMainForm.h"

#include <string>

namespace shell {

// What the edit-mode switch uses of the FTP session form: the remote start
// and current folders, and whether its client is connected.
class FtpSessionForm {
public:
    virtual ~FtpSessionForm() = default;
    virtual void setRemoteStart(const std::string& folder) = 0;
    virtual void setCurrentDir(const std::string& folder) = 0;
    virtual bool connected() = 0;
    virtual void disconnect() = 0;
    // Ends the session; sends nothing when not connected.
    virtual void quit() = 0;
};

// The process's FTP session form: the session holder as one of the
// process-wide forms.
class FtpSessionFormObject : public forms::FormObject, public FtpSessionForm {
public:
    FtpSessionFormObject() : FormObject(forms::namedForm("TMainForm")) {}

    void setRemoteStart(const std::string& folder) override { session.remotestart = folder; }
    void setCurrentDir(const std::string& folder) override { session.CurrentDirEdit = folder; }
    bool connected() override { return session.IdFTP1.Connected(); }
    void disconnect() override { session.IdFTP1.Disconnect(); }
    void quit() override {
        if (session.IdFTP1.Connected())
            session.IdFTP1.Disconnect();
    }

    ftp::TMainForm session;
};

} // namespace shell

#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// An FTP server on 127.0.0.1 that plays a script: what it says, when it
// listens, when it opens, feeds or closes a data connection, when it hangs
// up. It records every byte the client sent on the control connection and
// on data connections. Every wait is bounded, so a client that misbehaves
// fails the test instead of hanging it.
class ScriptedFtpServer {
public:
    struct Step {
        enum Kind {
            Say,         // send text on the control connection
            SayBytewise, // the same, one byte per segment
            Hear,        // read one command line
            ConnectData, // connect to the address of the last PORT
            SendData,    // send text on the data connection
            CloseData,
            ReceiveData, // read the data connection until it closes
            Pause,       // milliseconds in `number`
            Close,       // close the control connection
            Intrude,     // connect to the last PORT from 127.0.0.2, send text
        };
        Kind kind;
        std::string text;
        int number = 0;
    };

    ScriptedFtpServer();
    ~ScriptedFtpServer();
    ScriptedFtpServer(const ScriptedFtpServer&) = delete;
    ScriptedFtpServer& operator=(const ScriptedFtpServer&) = delete;

    uint16_t port() const { return m_port; }
    // Starts serving one client with the script.
    void play(std::vector<Step> script);
    // Waits until the script has run and the client has closed the control
    // connection (bounded), then answers what the client sent on it.
    std::string finish();
    // What the client sent on data connections.
    std::string receivedData();
    // What the client sent to the third party of an Intrude step.
    std::string intruderReceived();
    // Problems the server met (a step that could not be played).
    std::vector<std::string> problems();

private:
    void run(std::vector<Step> script);
    void playStep(const Step& step, int& control, int& data);
    void record(std::string& into, const std::string& bytes);
    bool waitReadable(int fd, std::chrono::milliseconds limit);
    std::string readLine(int fd);

    int m_listener = -1;
    int m_stop = -1;
    int m_intruder = -1;
    uint16_t m_port = 0;
    std::thread m_thread;
    std::mutex m_mutex;
    std::string m_control;
    std::string m_data;
    std::string m_intruded;
    std::string m_lastPort;
    std::string m_pending; // read past the last line
    std::vector<std::string> m_problems;
};

// Steps, for short scripts.
ScriptedFtpServer::Step say(std::string text);
ScriptedFtpServer::Step sayBytewise(std::string text);
ScriptedFtpServer::Step hear();
ScriptedFtpServer::Step connectData();
ScriptedFtpServer::Step sendData(std::string text);
ScriptedFtpServer::Step closeData();
ScriptedFtpServer::Step receiveData();
ScriptedFtpServer::Step pause(int milliseconds);
ScriptedFtpServer::Step hangUp();
// A third party on 127.0.0.2 reaches the data port before the server.
ScriptedFtpServer::Step intrude(std::string text);

// Greeting and a login with a password, answered as most servers do.
std::vector<ScriptedFtpServer::Step> greetingAndLogin();
// The bytes the client sends for that login as "bob" / "secret".
inline constexpr const char* kLoginCommands = "USER bob\r\nPASS secret\r\nTYPE I\r\nSYST\r\n";
// Appends steps to a script.
void append(std::vector<ScriptedFtpServer::Step>& script,
            const std::vector<ScriptedFtpServer::Step>& more);

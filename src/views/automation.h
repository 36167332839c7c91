#pragma once
// A scripted conversation with the server (logging on, creating an account):
// it takes each received line while it runs.

#include <string>

class Automation {
public:
    virtual ~Automation() = default;
    // One line without its line feed; 1 when the conversation is complete
    // (the client hello is then due), else 0.
    virtual int HandleLine(const std::string& line) = 0;
};

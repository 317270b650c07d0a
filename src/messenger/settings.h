#pragma once
// The client's per-user setting HKCU\Software\Microsoft\MSNMessenger "Server". The client's key is the
// sign that the client is set up: it is never created, and without it nothing is read or written.

#include <string>

namespace messenger {

enum class WriteResult { Written, NoClient, Failed };
enum class ReadResult { Read, NoClient, InvalidType };

WriteResult WriteServerSetting(const std::string& value);

struct StringValue {
    ReadResult result;
    std::string text;
};
StringValue ReadServerValue();

}  // namespace messenger

#pragma once
// Nimbo.csv beside the program: Windows-1251, CR LF, opened and closed for
// every line so that another program reading it sees only whole lines.
#include <filesystem>
#include <string>

#include "log/log_record.h"

namespace nimbo {

enum class WriteMode { Create, Append };

struct WriteResult {
    bool ok = true;
    std::string error;  // Russian, names the file and the cause
    explicit operator bool() const { return ok; }
};

// Why a write failed, in Russian, from the errno value.
std::string LogFailureCause(int err);

class LogFile {
public:
    explicit LogFile(std::filesystem::path file);
    const std::filesystem::path& path() const { return path_; }

    // Create mode empties the file (creating it if needed); append mode
    // creates a missing file and adds at its end.
    WriteResult writeHeader(int variant, WriteMode mode) const;
    // The start of a session: a log of an earlier one that is not empty is
    // first kept as Nimbo.prev.csv beside it (replacing an older one), then
    // the file is emptied and given the variant-1 header. Fails, touching
    // nothing, when the file is there but cannot be written.
    WriteResult startSession() const;
    static std::filesystem::path previousPath(const std::filesystem::path& file);
    // Always appends. Never leaves half a line behind.
    WriteResult appendDataLine(const LogRecord& record) const;

    // The exact bytes written (Windows-1251, ending in CR LF).
    static std::string headerBytes(int variant);
    static std::string dataLineBytes(const LogRecord& record);

private:
    std::filesystem::path path_;
};

}  // namespace nimbo

#pragma once

#include "codegen/reader.h"

#include <QFileDevice>
#include <QString>

#include <string>

namespace bitloom {

// Reading and writing a code text file. The file's bytes are the code text
// exactly, with no conversion of any kind.
struct CodeFileRead {
    std::string bytes;
    QString error; // empty when the file was read
};

// Reads the file whole; a file larger than the largest code text is not
// read at all. The error gives the system's reason.
CodeFileRead readCodeFile(const QString& path);

// Why a file's bytes cannot be a code text, for the user.
QString codeTextRefusalText(CodeTextRefusal refusal);

// Writes `bytes` atomically: the old file stays whole unless the new one is
// complete. Returns the system's reason for a failure, or an empty text.
QString writeCodeFile(const QString& path, const std::string& bytes);

// Replaces the regular file at `path` with `bytes` only once they are all
// written (a new file renamed over it), with `permissions` when given;
// returns the system's reason when it cannot.
QString replaceFileWhole(const QString& path, const std::string& bytes,
                         QFileDevice::Permissions permissions = {});

} // namespace bitloom

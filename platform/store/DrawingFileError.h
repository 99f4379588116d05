#pragma once
// CDrawingFileError: a drawing file cannot be read or written (not a drawing, damaged, written by a newer
// version, I/O failure). The message names the file and says what is wrong.
#include <stdexcept>
#include <string>

namespace TAVGis::Store {

class CDrawingFileError : public std::runtime_error {
public:
    explicit CDrawingFileError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace TAVGis::Store

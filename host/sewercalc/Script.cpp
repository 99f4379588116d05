#include "Script.h"

#include "platform/store/ImportText.h"

std::vector<Statement> ParseScript(const std::string& bytes, const std::string& fileName) {
    std::string text;
    std::size_t badLine = 0;
    if (!TAVGis::Store::ImportText::DecodeText(bytes, TAVGis::Store::ImportText::ETextEncoding::Utf8, text,
                                               badLine))
        throw ScriptError(fileName + ":" + std::to_string(badLine),
                          "the script is not UTF-8 text (save it as UTF-8)");
    std::vector<Statement> out;
    int lineNo = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        Statement st;
        st.line = lineNo;
        std::size_t i = 0;
        while (i < line.size()) {
            char c = line[i];
            if (c == ' ' || c == '\t' || c == '\r') {
                ++i;
                continue;
            }
            if (c == '#') break;
            std::string w;
            if (c == '"') {
                ++i;
                bool closed = false;
                while (i < line.size()) {
                    char d = line[i++];
                    if (d == '\\' && i < line.size()) {
                        char e = line[i++];
                        w += e == 'n' ? '\n' : e == 't' ? '\t' : e;
                    } else if (d == '"') {
                        closed = true;
                        break;
                    } else {
                        w += d;
                    }
                }
                if (!closed)
                    throw ScriptError(fileName + ":" + std::to_string(lineNo), "unterminated quoted text");
            } else {
                while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
                    w += line[i++];
            }
            st.words.push_back(std::move(w));
        }
        if (!st.words.empty()) out.push_back(std::move(st));
    }
    return out;
}

std::vector<Statement> ReadScriptFile(const std::string& path) {
    std::string bytes;
    std::string error;
    if (!TAVGis::Store::ImportText::ReadWholeFile(path, bytes, error)) throw ScriptError(path, error);
    return ParseScript(bytes, path);
}

std::string Quote(const std::string& text) {
    bool plain = !text.empty();
    for (unsigned char c : text)
        if (c <= ' ' || c == '"' || c == '\\' || c == '#') plain = false;
    if (plain) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\', out += c;
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out + "\"";
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "convert/kvtml.h"

#include "common/codepage.h"

#include <expat.h>

#include <algorithm>
#include <cstring>
#include <map>

namespace vb {

namespace {

struct Translation
{
    std::string text;
    std::string pronunciation;
    std::string comment;
    std::string example;
};

struct Parse
{
    std::vector<std::string> path; // open elements
    std::vector<std::string> ids;
    std::vector<std::string> names;
    std::string identifierName;
    std::string identifierLocale;
    std::vector<std::map<std::string, Translation>> entries;
    std::string translationId;
    std::string* target = nullptr; // the value that character data goes to
    std::string rootVersion;
    bool badRoot = false;
    XML_Parser parser = nullptr;
};

std::string Attribute(const XML_Char** attrs, const char* name)
{
    for (int i = 0; attrs[i]; i += 2) {
        if (std::strcmp(attrs[i], name) == 0) {
            return attrs[i + 1];
        }
    }
    return {};
}

bool PathIs(const std::vector<std::string>& path, std::initializer_list<const char*> expected)
{
    if (path.size() != expected.size()) {
        return false;
    }
    return std::equal(path.begin(), path.end(), expected.begin(),
                      [](const std::string& a, const char* b) { return a == b; });
}

void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** attrs)
{
    auto& p = *static_cast<Parse*>(data);
    p.path.emplace_back(name);
    p.target = nullptr;
    if (p.path.size() == 1) {
        p.rootVersion = Attribute(attrs, "version");
        if (p.path[0] != "kvtml" || (!p.rootVersion.empty() && !p.rootVersion.starts_with("2"))) {
            p.badRoot = true;
            XML_StopParser(p.parser, XML_FALSE);
        }
        return;
    }
    if (PathIs(p.path, {"kvtml", "identifiers", "identifier"})) {
        p.ids.push_back(Attribute(attrs, "id"));
        p.identifierName.clear();
        p.identifierLocale.clear();
    } else if (PathIs(p.path, {"kvtml", "identifiers", "identifier", "name"})) {
        p.target = &p.identifierName;
    } else if (PathIs(p.path, {"kvtml", "identifiers", "identifier", "locale"})) {
        p.target = &p.identifierLocale;
    } else if (PathIs(p.path, {"kvtml", "entries", "entry"})) {
        p.entries.emplace_back();
    } else if (PathIs(p.path, {"kvtml", "entries", "entry", "translation"})) {
        p.translationId = Attribute(attrs, "id");
        p.entries.back()[p.translationId];
    } else if (p.path.size() == 5 && PathIs(std::vector<std::string>(p.path.begin(), p.path.end() - 1),
                                            {"kvtml", "entries", "entry", "translation"})) {
        Translation& t = p.entries.back()[p.translationId];
        const std::string& field = p.path.back();
        std::string* value = field == "text"            ? &t.text
                             : field == "pronunciation" ? &t.pronunciation
                             : field == "comment"       ? &t.comment
                             : field == "example"       ? &t.example
                                                        : nullptr;
        if (value) {
            // A repeated element adds to the value rather than gluing onto it.
            if (!value->empty()) {
                *value += ' ';
            }
            p.target = value;
        }
    }
}

void XMLCALL OnEnd(void* data, const XML_Char*)
{
    auto& p = *static_cast<Parse*>(data);
    if (PathIs(p.path, {"kvtml", "identifiers", "identifier"})) {
        std::string name = FlattenValue(p.identifierName);
        if (name.empty()) {
            name = FlattenValue(p.identifierLocale);
        }
        p.names.push_back(name.empty() ? p.ids.back() : name);
    }
    p.path.pop_back();
    p.target = nullptr;
}

void XMLCALL OnText(void* data, const XML_Char* s, int len)
{
    auto& p = *static_cast<Parse*>(data);
    if (p.target && len > 0) {
        p.target->append(s, static_cast<std::size_t>(len));
    }
}

// Windows-1251 files: expat knows only the UTF and Latin-1 encodings itself.
int XMLCALL OnUnknownEncoding(void*, const XML_Char* name, XML_Encoding* info)
{
    std::string lower;
    for (const char* c = name; *c; ++c) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
    }
    if (lower != "windows-1251" && lower != "cp1251") {
        return XML_STATUS_ERROR;
    }
    for (int b = 0; b < 256; ++b) {
        const std::string utf8 = Cp1251ToUtf8(std::string(1, static_cast<char>(b)));
        int cp = 0;
        const auto u = [&](std::size_t k) { return static_cast<unsigned char>(utf8[k]); };
        if (utf8.size() == 1) {
            cp = u(0);
        } else if (utf8.size() == 2) {
            cp = ((u(0) & 0x1F) << 6) | (u(1) & 0x3F);
        } else {
            cp = ((u(0) & 0x0F) << 12) | ((u(1) & 0x3F) << 6) | (u(2) & 0x3F);
        }
        info->map[b] = cp == 0xFFFD ? -1 : cp;
    }
    info->data = nullptr;
    info->convert = nullptr;
    info->release = nullptr;
    return XML_STATUS_OK;
}

std::string JoinNotes(std::initializer_list<const std::string*> parts)
{
    std::string out;
    for (const std::string* part : parts) {
        const std::string v = FlattenValue(*part);
        if (v.empty()) {
            continue;
        }
        if (!out.empty()) {
            out += "; ";
        }
        out += v;
    }
    return out;
}

void AppendEscaped(std::string& out, std::string_view s)
{
    for (const char c : s) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
}

void AppendElement(std::string& out, const char* indent, const char* name, const std::string& value)
{
    if (value.empty()) {
        return;
    }
    out += indent;
    out += '<';
    out += name;
    out += '>';
    AppendEscaped(out, value);
    out += "</";
    out += name;
    out += ">\n";
}

} // namespace

ReadOutcome ReadKvtml(std::string_view bytes, const KvtmlReadOptions& options, KvtmlInfo* info,
                      const ConvertProgress& progress)
{
    ReadOutcome result;
    Parse p;
    XML_Parser parser = XML_ParserCreate(nullptr);
    if (!parser) {
        result.error = "нет памяти для разбора XML";
        return result;
    }
    p.parser = parser;
    XML_SetUserData(parser, &p);
    XML_SetElementHandler(parser, OnStart, OnEnd);
    XML_SetCharacterDataHandler(parser, OnText);
    XML_SetUnknownEncodingHandler(parser, OnUnknownEncoding, nullptr);

    constexpr std::size_t kPiece = 1 << 16;
    std::size_t pos = 0;
    int lastPercent = -1;
    bool ok = true;
    do {
        const std::size_t n = std::min(kPiece, bytes.size() - pos);
        const bool last = pos + n == bytes.size();
        if (XML_Parse(parser, bytes.data() + pos, static_cast<int>(n), last) != XML_STATUS_OK) {
            ok = false;
            break;
        }
        pos += n;
        const int percent = bytes.empty() ? 100 : static_cast<int>(pos * 100 / bytes.size());
        if (progress && percent != lastPercent) {
            lastPercent = percent;
            progress(percent);
        }
    } while (pos < bytes.size());
    if (!ok) {
        if (p.badRoot) {
            result.error = "это не файл KVTML 2.0";
        } else {
            result.error = "строка " + std::to_string(XML_GetCurrentLineNumber(parser)) +
                           ": XML повреждён: " + XML_ErrorString(XML_GetErrorCode(parser));
        }
        XML_ParserFree(parser);
        return result;
    }
    XML_ParserFree(parser);

    if (info) {
        info->identifierIds = p.ids;
        info->identifierNames = p.names;
    }
    std::string wordId = options.wordId;
    std::string translationId = options.translationId;
    if (wordId.empty() && translationId.empty()) {
        if (p.ids.empty()) {
            result.error = "в файле нет ни одного языка (identifier)";
            return result;
        }
        wordId = p.ids[0];
        translationId = p.ids.size() > 1 ? p.ids[1] : std::string();
    }
    for (const std::string* id : {&wordId, &translationId}) {
        if (!id->empty() && std::find(p.ids.begin(), p.ids.end(), *id) == p.ids.end()) {
            result.error = "в файле нет языка с номером " + *id;
            return result;
        }
    }
    const Translation none;
    for (const auto& entry : p.entries) {
        const auto find = [&](const std::string& id) -> const Translation& {
            const auto it = id.empty() ? entry.end() : entry.find(id);
            return it == entry.end() ? none : it->second;
        };
        const Translation& a = find(wordId);
        const Translation& b = find(translationId);
        VocabEntry e{FlattenValue(a.text), FlattenValue(b.text), FlattenValue(a.pronunciation),
                     JoinNotes({&a.comment, &a.example, &b.comment, &b.example})};
        if (!e.word.empty() || !e.translation.empty()) {
            result.entries.push_back(std::move(e));
        }
    }
    return result;
}

std::string KvtmlBytes(const std::vector<VocabEntry>& entries, const KvtmlWriteOptions& options)
{
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">\n"
                      "<kvtml version=\"2.0\">\n"
                      "  <information>\n"
                      "    <generator>verbanta</generator>\n";
    AppendElement(out, "    ", "title", FlattenValue(ValidUtf8(options.title)));
    out += "  </information>\n  <identifiers>\n";
    int id = 0;
    for (const std::string* name : {&options.wordName, &options.translationName}) {
        out += "    <identifier id=\"" + std::to_string(id++) + "\">\n";
        AppendElement(out, "      ", "name", FlattenValue(ValidUtf8(*name)));
        out += "    </identifier>\n";
    }
    out += "  </identifiers>\n  <entries>\n";
    std::size_t n = 0;
    for (const VocabEntry& e : entries) {
        // XML 1.0 has no control characters but tab and line ends; values are one line anyway.
        const auto value = [](const std::string& s) { return FlattenValue(ValidUtf8(s)); };
        out += "    <entry id=\"" + std::to_string(n++) + "\">\n      <translation id=\"0\">\n";
        AppendElement(out, "        ", "text", value(e.word));
        AppendElement(out, "        ", "pronunciation", value(e.transcription));
        AppendElement(out, "        ", "comment", value(e.note));
        out += "      </translation>\n      <translation id=\"1\">\n";
        AppendElement(out, "        ", "text", value(e.translation));
        out += "      </translation>\n    </entry>\n";
    }
    out += "  </entries>\n</kvtml>\n";
    return out;
}

} // namespace vb

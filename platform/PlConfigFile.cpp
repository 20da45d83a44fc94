#include "platform/PlConfigFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// A settings file is small; anything much larger is not one of ours.
static constexpr long maxFileSize = 4 * 1024 * 1024;

static std::string trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// Values keep their line: a line feed or a backslash inside is escaped.
static std::string escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

static std::string unescaped(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            char next = text[++i];
            out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool PlConfigFile::load(const std::string& path)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    struct stat info;
    if (::fstat(::fileno(file), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > maxFileSize) {
        std::fclose(file);
        return false;
    }
    std::string bytes;
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0 && bytes.size() <= size_t(maxFileSize))
        bytes.append(chunk, got);
    bool readFailed = std::ferror(file) != 0;
    std::fclose(file);
    if (readFailed || bytes.size() > size_t(maxFileSize))
        return false;

    std::vector<Section> parsed;
    parsed.push_back(Section{});
    size_t start = 0;
    while (start <= bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = trimmed(bytes.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == '#' || line[0] == ';')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            std::string name = line.substr(1, line.size() - 2);
            Section* existing = nullptr;
            for (Section& section : parsed)
                if (section.name == name)
                    existing = &section;
            if (!existing) {
                parsed.push_back(Section{name, {}});
            } else if (existing != &parsed.back()) {
                // A section named twice continues where it was first named.
                Section moved = std::move(*existing);
                parsed.erase(parsed.begin() + (existing - parsed.data()));
                parsed.push_back(std::move(moved));
            }
            continue;
        }
        size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        std::string name = trimmed(line.substr(0, equals));
        std::string text = unescaped(trimmed(line.substr(equals + 1)));
        if (name.empty())
            continue;
        bool replaced = false;
        for (auto& entry : parsed.back().values) {
            if (entry.first == name) {
                entry.second = text;
                replaced = true;
            }
        }
        if (!replaced)
            parsed.back().values.emplace_back(name, text);
    }
    sections = std::move(parsed);
    return true;
}

static bool makeFolders(const std::string& folder)
{
    if (folder.empty())
        return true;
    struct stat info;
    if (::stat(folder.c_str(), &info) == 0)
        return S_ISDIR(info.st_mode);
    size_t slash = folder.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !makeFolders(folder.substr(0, slash)))
        return false;
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

bool PlConfigFile::save(const std::string& path) const
{
    std::string text;
    for (const Section& section : sections) {
        if (section.name.empty() && section.values.empty())
            continue;
        if (!section.name.empty()) {
            if (!text.empty())
                text += '\n';
            text += '[' + section.name + "]\n";
        }
        for (const auto& entry : section.values)
            text += entry.first + '=' + escaped(entry.second) + '\n';
    }

    size_t slash = path.find_last_of('/');
    std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash);
    if (!makeFolders(folder))
        return false;
    std::string temporary = path + ".XXXXXX";
    int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return false;
    const char* data = text.data();
    size_t left = text.size();
    bool ok = true;
    while (ok && left > 0) {
        ssize_t written = ::write(fd, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        ok = written > 0;
        if (ok) {
            data += written;
            left -= size_t(written);
        }
    }
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok)
        ::unlink(temporary.c_str());
    return ok;
}

const PlConfigFile::Section* PlConfigFile::find(const std::string& section) const
{
    for (const Section& s : sections)
        if (s.name == section)
            return &s;
    return nullptr;
}

PlConfigFile::Section& PlConfigFile::findOrAdd(const std::string& section)
{
    for (Section& s : sections)
        if (s.name == section)
            return s;
    sections.push_back(Section{section, {}});
    return sections.back();
}

bool PlConfigFile::value(const std::string& section, const std::string& name, std::string& out) const
{
    const Section* s = find(section);
    if (!s)
        return false;
    for (const auto& entry : s->values) {
        if (entry.first == name) {
            out = entry.second;
            return true;
        }
    }
    return false;
}

void PlConfigFile::setValue(const std::string& section, const std::string& name, const std::string& text)
{
    Section& s = findOrAdd(section);
    for (auto& entry : s.values) {
        if (entry.first == name) {
            entry.second = text;
            return;
        }
    }
    s.values.emplace_back(name, text);
}

bool PlConfigFile::parseInt32(const std::string& text, int& out)
{
    std::string digits = trimmed(text);
    if (digits.empty())
        return false;
    size_t i = digits[0] == '-' || digits[0] == '+' ? 1 : 0;
    if (i == digits.size() || digits.size() - i > 10)
        return false;
    long long number = 0;
    for (; i < digits.size(); ++i) {
        if (digits[i] < '0' || digits[i] > '9')
            return false;
        number = number * 10 + (digits[i] - '0');
    }
    if (digits[0] == '-')
        number = -number;
    if (number < -2147483648LL || number > 4294967295LL)
        return false;
    out = int(static_cast<unsigned int>(number & 0xFFFFFFFFLL));
    return true;
}

bool PlConfigFile::intValue(const std::string& section, const std::string& name, int& out) const
{
    std::string text;
    return value(section, name, text) && parseInt32(text, out);
}

void PlConfigFile::setIntValue(const std::string& section, const std::string& name, int number)
{
    setValue(section, name, std::to_string(number));
}

bool PlConfigFile::hasSection(const std::string& section) const
{
    return find(section) != nullptr;
}

void PlConfigFile::removeSection(const std::string& section)
{
    for (size_t i = 0; i < sections.size(); ++i) {
        if (sections[i].name == section) {
            sections.erase(sections.begin() + long(i));
            return;
        }
    }
}

void PlConfigFile::removeValue(const std::string& section, const std::string& name)
{
    for (Section& s : sections) {
        if (s.name != section)
            continue;
        for (size_t i = 0; i < s.values.size(); ++i) {
            if (s.values[i].first == name) {
                s.values.erase(s.values.begin() + long(i));
                return;
            }
        }
    }
}

std::vector<std::string> PlConfigFile::names(const std::string& section) const
{
    std::vector<std::string> out;
    if (const Section* s = find(section))
        for (const auto& entry : s->values)
            out.push_back(entry.first);
    return out;
}

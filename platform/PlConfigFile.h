#pragma once

#include <string>
#include <utility>
#include <vector>

// A settings file of sections and "name=value" lines. Values are text; the
// settings' numbers are stored as decimal text. Keys before the first section
// header belong to the section with the empty name.
//
// A load that fails leaves the content as it was; a save writes a temporary
// file beside the target and renames it into place, so a failed save leaves
// the old file byte for byte.
class PlConfigFile
{
public:
    // Replaces the content with the file's. False, content untouched, when the
    // file cannot be read.
    bool load(const std::string& path);
    // Writes the content, making the file's folder when it is missing.
    bool save(const std::string& path) const;

    bool value(const std::string& section, const std::string& name, std::string& out) const;
    void setValue(const std::string& section, const std::string& name, const std::string& text);
    // A value read as a number: decimal text that fits 32 bits, signed or
    // unsigned; anything else counts as not read and leaves out untouched.
    bool intValue(const std::string& section, const std::string& name, int& out) const;
    void setIntValue(const std::string& section, const std::string& name, int number);

    bool hasSection(const std::string& section) const;
    void removeSection(const std::string& section);
    void removeValue(const std::string& section, const std::string& name);
    // The value names of a section, in file order.
    std::vector<std::string> names(const std::string& section) const;

    // The rule of intValue on a text.
    static bool parseInt32(const std::string& text, int& out);

private:
    struct Section
    {
        std::string name;
        std::vector<std::pair<std::string, std::string>> values;
    };
    const Section* find(const std::string& section) const;
    Section& findOrAdd(const std::string& section);

    std::vector<Section> sections;
};

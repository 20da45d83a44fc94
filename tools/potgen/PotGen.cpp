// Writes the translation template: every English text of the string table
// (its id as context), the menus and the dialogs (their names as context).
//
//   qrv_potgen <quorvane.pot>

#include "app/UiTexts.h"
#include "foundation/BcStringResources.h"

#include <cstdio>
#include <string>

namespace {

std::string quoted(const char* text)
{
    std::string out = "\"";
    for (const char* c = text; *c; ++c) {
        switch (*c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default: out += *c; break;
        }
    }
    return out + "\"";
}

void entry(const char* context, const char* text, void* data)
{
    std::string& out = *static_cast<std::string*>(data);
    out += "\nmsgctxt " + quoted(context) + "\nmsgid " + quoted(text) + "\nmsgstr \"\"\n";
}

}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <quorvane.pot>\n", argv[0]);
        return 2;
    }
    std::string out =
        "# The texts of Quorvane to translate. Written by the target \"pot\"; do not edit.\n"
        "msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=UTF-8\\n\"\n";
    int count = 0;
    const BcStringResources::Entry* table = BcStringResources::englishTable(count);
    for (int i = 0; i < count; ++i)
        entry(std::to_string(table[i].id).c_str(), table[i].text, &out);
    UiTexts::forEachText(&entry, &out);

    std::string temporary = std::string(argv[1]) + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    bool ok = file && std::fwrite(out.data(), 1, out.size(), file) == out.size();
    ok = file && std::fclose(file) == 0 && ok;
    ok = ok && std::rename(temporary.c_str(), argv[1]) == 0;
    if (!ok) {
        std::remove(temporary.c_str());
        std::fprintf(stderr, "could not write %s\n", argv[1]);
    }
    return ok ? 0 : 1;
}

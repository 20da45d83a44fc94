#include "interchange/MusicXmlSchema.h"

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>

static std::string shellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

// Runs the command through the shell; its exit status, and what it printed
// on both streams.
static int runCommand(const std::string& command, std::string& output)
{
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return -1;
    char buffer[4096];
    size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, read);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

static bool hasXmllint()
{
    static const bool found = [] {
        std::string output;
        return runCommand("command -v xmllint", output) == 0;
    }();
    return found;
}

::testing::AssertionResult matchesMusicXmlSchema(const std::string& path)
{
    if (!hasXmllint()) {
        static bool told = false;
        if (!told)
            std::fprintf(stderr, "xmllint is not installed: exported MusicXML is not checked against the schema\n");
        told = true;
        return ::testing::AssertionSuccess();
    }
    const std::string schema = std::string(QRV_TEST_DATA_DIR) + "/musicxml/schema/musicxml.xsd";
    std::string output;
    const int status =
        runCommand("xmllint --nonet --noout --schema " + shellQuoted(schema) + " " + shellQuoted(path), output);
    if (status == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << path << " does not validate against the MusicXML schema:\n" << output;
}

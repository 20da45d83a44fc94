#pragma once

#include "foundation/BcSettings.h"
#include "foundation/BcStringResources.h"
#include "render/ReServices.h"

#include <map>
#include <set>
#include <string>

// Test fakes of the application's services. Each installs itself while it
// lives and restores the defaults when it dies, so a test declares one on
// the stack and sets what it needs.

class TestSettings : public BcSettings
{
public:
    TestSettings() { install(this); }
    ~TestSettings() override { install(nullptr); }

    void set(Key key, int value) { values[key] = value; }
    int value(Key key) const override
    {
        auto it = values.find(key);
        return it != values.end() ? it->second : defaultValue(key);
    }

private:
    std::map<Key, int> values;
};

class TestStringResources : public BcStringResources
{
public:
    TestStringResources() { install(this); }
    ~TestStringResources() override { install(nullptr); }

    void set(unsigned id, const char* utf8) { texts[id] = utf8; }
    BcString loadString(unsigned id) const override
    {
        auto it = texts.find(id);
        return it != texts.end() ? BcString(it->second.c_str()) : BcStringResources::loadString(id);
    }

private:
    std::map<unsigned, std::string> texts;
};

class TestServices : public ReServices
{
public:
    TestServices() { install(this); }
    ~TestServices() override { install(nullptr); }

    // The chord sounds in every pass, or only in the given one.
    void setPlaying(const MnChord* chord, int pass = 0) { playing[chord] = pass; }

    bool isNotePlaying(const MnChord* chord, int pass) const override
    {
        auto it = playing.find(chord);
        return it != playing.end() && (pass == 0 || it->second == 0 || it->second == pass);
    }

private:
    std::map<const MnChord*, int> playing;
};

#include "app/UiStringResources.h"

#include <wx/filename.h>
#include <wx/translation.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <strings.h>

static const char* const domain = "quorvane";

namespace {

// Loads catalogs from one folder only, so a catalog installed elsewhere on the
// system never stands in for one missing beside the executable.
class FolderLoader : public wxTranslationsLoader
{
public:
    explicit FolderLoader(const std::string& root) : root(root) {}

    wxMsgCatalog* LoadCatalog(const wxString& name, const wxString& language) override
    {
        wxString path = wxString::FromUTF8(root) + "/" + language + "/LC_MESSAGES/" + name + ".mo";
        if (!wxFileName::FileExists(path))
            return nullptr;
        return wxMsgCatalog::CreateFromFile(path, name);
    }

    wxArrayString GetAvailableTranslations(const wxString& name) const override
    {
        wxArrayString languages;
        for (int language = 1; language <= 3; ++language) {
            wxString code = UiStringResources::languageCode(language);
            if (wxFileName::FileExists(wxString::FromUTF8(root) + "/" + code + "/LC_MESSAGES/" + name + ".mo"))
                languages.push_back(code);
        }
        return languages;
    }

private:
    std::string root;
};

wchar_t* copyOf(const wxString& text)
{
    std::wstring wide = text.ToStdWstring();
    wchar_t* copy = new wchar_t[wide.size() + 1];
    std::wmemcpy(copy, wide.c_str(), wide.size() + 1);
    return copy;
}

}

UiStringResources::UiStringResources() : cache(8) {}

UiStringResources::~UiStringResources()
{
    clearCache();
}

const char* UiStringResources::languageCode(int language)
{
    switch (language) {
    case french:
        return "fr";
    case spanish:
        return "es";
    case catalan:
        return "ca";
    default:
        return "";
    }
}

int UiStringResources::languageOfTag(const std::string& tag)
{
    if (strcasecmp(tag.c_str(), "fr-FR") == 0)
        return french;
    if (strcasecmp(tag.c_str(), "es-ES") == 0)
        return spanish;
    if (strcasecmp(tag.c_str(), "ca-ES") == 0)
        return catalan;
    return english;
}

std::string UiStringResources::localeTag()
{
    std::string locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && value[0]) {
            locale = value;
            break;
        }
    }
    size_t end = locale.find_first_of(".@");
    if (end != std::string::npos)
        locale.resize(end);
    for (char& c : locale)
        if (c == '_')
            c = '-';
    return locale;
}

bool UiStringResources::setLanguage(int language, const std::string& localeRoot)
{
    clearCache();
    translations.reset();
    const char* code = languageCode(language);
    if (!code[0])
        return false;
    auto loaded = std::make_unique<wxTranslations>();
    loaded->SetLoader(new FolderLoader(localeRoot));
    loaded->SetLanguage(wxString(code));
    if (!loaded->AddCatalog(domain, wxLANGUAGE_ENGLISH_US) || !loaded->IsLoaded(domain))
        return false;
    translations = std::move(loaded);
    return true;
}

const wchar_t* UiStringResources::text(unsigned id)
{
    for (int i = cache.count() - 1; i >= 0; --i)
        if (cache[i]->id == id)
            return cache[i]->text;
    const char* english = BcStringResources::english(id);
    if (!english)
        return nullptr;
    wxString found = wxString::FromUTF8(english);
    if (translations) {
        const wxString* text = translations->GetTranslatedString(found, domain, wxString::Format("%u", id));
        if (!text)
            return nullptr;
        found = *text;
    }
    CachedString* record = new CachedString{id, copyOf(found)};
    cache.add(record);
    return record->text;
}

void UiStringResources::clearCache()
{
    for (int i = 0; i < cache.count(); ++i) {
        delete[] cache[i]->text;
        delete cache[i];
    }
    cache.removeAll();
}

std::wstring UiStringResources::shellText(const char* context, const char* english) const
{
    wxString text = wxString::FromUTF8(english);
    if (translations) {
        if (const wxString* found = translations->GetTranslatedString(text, domain, wxString::FromUTF8(context)))
            return found->ToStdWstring();
    }
    return text.ToStdWstring();
}

BcString UiStringResources::loadString(unsigned id) const
{
    // The core asks from the interface thread only, as the cache requires.
    const wchar_t* found = const_cast<UiStringResources*>(this)->text(id);
    return found ? BcString(found) : BcString();
}

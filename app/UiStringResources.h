#pragma once

#include "foundation/BcArray.h"
#include "foundation/BcStringResources.h"

#include <memory>
#include <string>

class wxTranslations;

// The texts of the interface language. English comes from the shared table
// (BcStringResources::english and UiTexts); French, Spanish and Catalan from
// gettext catalogs, locale/<code>/LC_MESSAGES/quorvane.mo, keyed by the
// English text and the id as context. With a catalog loaded it is the
// language's whole table: an id it lacks has no text, as a string missing
// from a language's resources would have none.
class UiStringResources : public BcStringResources
{
public:
    enum Language { english = 0, french = 1, spanish = 2, catalan = 3 };

    UiStringResources();
    ~UiStringResources() override;
    UiStringResources(const UiStringResources&) = delete;
    UiStringResources& operator=(const UiStringResources&) = delete;

    // Loads the catalog of the language from localeRoot; English, or a
    // language without a catalog there, uses the English table. True when a
    // catalog was loaded.
    bool setLanguage(int language, const std::string& localeRoot);
    bool catalogLoaded() const { return translations != nullptr; }

    // The text of a string id, cached: the same pointer for the whole run.
    // Null when the language has no text for the id.
    const wchar_t* text(unsigned id);
    // Frees every cached text; pointers handed out before become invalid.
    void clearCache();
    int cachedCount() const { return cache.count(); }

    // A menu or dialog text in the language (English when its catalog lacks it).
    std::wstring shellText(const char* context, const char* english) const;

    BcString loadString(unsigned id) const override;

    // "fr", "es", "ca", or empty for English and unknown values.
    static const char* languageCode(int language);
    // The language of a tag such as "fr-FR", compared without regard to
    // case with "fr-FR", "es-ES" and "ca-ES"; 0 for anything else.
    static int languageOfTag(const std::string& tag);
    // The user's locale as a tag: the first of LC_ALL, LC_MESSAGES and LANG
    // that is set, without codeset and modifier, "_" made "-"
    // ("fr_FR.UTF-8" gives "fr-FR"); empty when none is set.
    static std::string localeTag();

private:
    struct CachedString
    {
        unsigned id;
        wchar_t* text;
    };
    BcArray<CachedString*> cache;
    std::unique_ptr<wxTranslations> translations;
};

#include "app/AutoSave.h"

#include "editing/EdContext.h"
#include "editing/QuorvaneDocument.h"
#include "foundation/BcXmlFiler.h"
#include "platform/PlPaths.h"

#include <tinyxml.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

const char* const indexName = "index.xml";
const char* const stagingSuffix = ".new";
// Numbers form file names of at most six digits.
constexpr int highestNumber = 999999;
bool renameFails = false;

BcString toBc(const std::string& text)
{
    return BcString(text.c_str());
}

std::string toUtf8(const BcString& text)
{
    return text.toNarrow(BcString::utf8CodePage);
}

bool isRegularFile(const std::string& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// The last step of every write: the staging file takes the final name.
bool renameIntoPlace(const std::string& staging, const std::string& path)
{
    if (renameFails)
        return false;
    return std::rename(staging.c_str(), path.c_str()) == 0;
}

// The folder and its missing parents; the folder itself only for the user.
bool makeFolder(const std::string& folder)
{
    std::error_code error;
    if (fs::is_directory(folder, error))
        return true;
    fs::create_directories(fs::path(folder).parent_path(), error);
    if (::mkdir(folder.c_str(), 0700) != 0 && !fs::is_directory(folder, error))
        return false;
    return true;
}

// "id" as a decimal integer; what is no digit ends the number, none at all
// reads as 0.
int readNumber(const char* text)
{
    long long value = 0;
    for (const char* c = text; *c >= '0' && *c <= '9'; ++c) {
        value = value * 10 + (*c - '0');
        if (value > highestNumber)
            return highestNumber + 1;
    }
    return int(value);
}

// The file-name part of a path; a title without slash stays whole.
BcString fileNamePart(const std::string& text)
{
    size_t slash = text.find_last_of('/');
    return toBc(slash == std::string::npos ? text : text.substr(slash + 1));
}

}

AutoSave::Workspace::~Workspace() = default;

AutoSave::AutoSave(Workspace& workspace) : workspace(workspace) {}

AutoSave::~AutoSave() = default;

std::string AutoSave::defaultFolder()
{
    return PlPaths::dataHome() + "/Tolmarin/Quorvane/AutoSave";
}

std::string AutoSave::fileName(int number)
{
    char name[32];
    std::snprintf(name, sizeof name, "%03d.qrv", number);
    return name;
}

void AutoSave::failBeforeRename(bool fail)
{
    renameFails = fail;
}

int AutoSave::numberOf(QuorvaneDocument* document)
{
    for (const Known& k : known)
        if (k.document == document)
            return k.number;
    if (nextNumber > highestNumber)
        return 0;
    known.push_back({document, nextNumber});
    return nextNumber++;
}

bool AutoSave::writeBackup(QuorvaneDocument* document, int number)
{
    std::string path = backupFolder + "/" + fileName(number);
    std::string staging = path + stagingSuffix;
    workspace.keepCamera(document);
    if (!document->saveScore(toBc(staging))) {
        std::remove(staging.c_str());
        return false;
    }
    return renameIntoPlace(staging, path);
}

void AutoSave::saveBackups(int minutes)
{
    if (backupFolder.empty())
        return;
    const unsigned long long period = static_cast<unsigned long long>(std::max(minutes, 1)) * 60000ull;
    const unsigned long long now = EdContext::current().tickCount();
    if (now < lastPassTick || now - lastPassTick <= period)
        return;

    std::vector<QuorvaneDocument*> documents;
    workspace.documents(documents);
    std::vector<Entry> next;
    bool folderReady = false;
    for (QuorvaneDocument* document : documents) {
        if (!document->IsModified())
            continue;
        if (!folderReady && !(folderReady = makeFolder(backupFolder)))
            break;
        int number = numberOf(document);
        if (number == 0)
            continue;
        bool wasCurrent = false;
        for (const Entry& e : listed)
            if (e.document == document)
                wasCurrent = true;
        std::string path = backupFolder + "/" + fileName(number);
        // A backup that failed stays due: its entry is not current.
        if (!wasCurrent || document->lastModifiedTick() >= lastPassTick || !isRegularFile(path)) {
            if (!writeBackup(document, number)) {
                stale.push_back(document);
            } else {
                stale.erase(std::remove(stale.begin(), stale.end(), document), stale.end());
            }
        } else if (std::find(stale.begin(), stale.end(), document) != stale.end()) {
            if (writeBackup(document, number))
                stale.erase(std::remove(stale.begin(), stale.end(), document), stale.end());
        }
        next.push_back({document, number});
    }
    listed = next;
    // The files of the documents left out go only once the index no longer
    // names them.
    if (writeIndex())
        deleteUnlisted();
    lastPassTick = now;
}

void AutoSave::removeBackup(QuorvaneDocument* document, bool closed)
{
    if (closed) {
        known.erase(std::remove_if(known.begin(), known.end(), [document](const Known& k) { return k.document == document; }),
                    known.end());
        stale.erase(std::remove(stale.begin(), stale.end(), document), stale.end());
    }
    if (backupFolder.empty())
        return;
    auto found = std::find_if(listed.begin(), listed.end(), [document](const Entry& e) { return e.document == document; });
    if (found == listed.end())
        return;
    int number = found->number;
    listed.erase(found);
    // The index first: a crash in between leaves a file that nothing names,
    // never a name without its file.
    writeIndex();
    std::remove((backupFolder + "/" + fileName(number)).c_str());
}

bool AutoSave::writeIndex()
{
    if (backupFolder.empty())
        return false;
    std::error_code error;
    if (listed.empty() && !fs::is_directory(backupFolder, error))
        return true;
    if (!makeFolder(backupFolder))
        return false;
    BcXmlFiler xml;
    bool ok = xml.addElement("QuorvaneBackup");
    for (const Entry& e : listed) {
        BcString text = e.document->pathName();
        if (text.isEmpty())
            text = QuorvaneDocument::titleWithoutStar(e.document->title());
        ok = ok && xml.addElement("Document") && xml.setAttribute("id", e.number) && xml.setElementText(text) &&
             xml.goToParent();
    }
    std::string path = backupFolder + "/" + indexName;
    std::string staging = path + stagingSuffix;
    xml.fileName = toBc(staging);
    if (!ok || !xml.save()) {
        std::remove(staging.c_str());
        return false;
    }
    return renameIntoPlace(staging, path);
}

void AutoSave::deleteUnlisted()
{
    std::error_code error;
    fs::directory_iterator it(backupFolder, error);
    if (error)
        return;
    std::vector<std::string> doomed;
    for (const fs::directory_entry& entry : it) {
        std::string name = entry.path().filename().string();
        bool keep = name == indexName;
        for (const Entry& e : listed)
            keep = keep || name == fileName(e.number);
        if (!keep)
            doomed.push_back(entry.path().string());
    }
    for (const std::string& path : doomed)
        fs::remove_all(path, error);
}

void AutoSave::finish()
{
    if (!backupFolder.empty())
        deleteFolder(backupFolder);
    backupFolder.clear();
    listed.clear();
}

bool AutoSave::deleteFolder(const std::string& path)
{
    std::error_code error;
    if (!fs::exists(fs::symlink_status(path, error)))
        return false;
    fs::remove_all(path, error);
    return !error && !fs::exists(fs::symlink_status(path, error));
}

void AutoSave::recover()
{
    recover(defaultFolder());
}

void AutoSave::recover(const std::string& folder)
{
    backupFolder = folder;
    listed.clear();
    known.clear();
    stale.clear();
    nextNumber = 1;
    std::error_code error;
    if (!backupFolder.empty() && fs::is_directory(backupFolder, error)) {
        int highest = 0;
        std::string indexPath = backupFolder + "/" + indexName;
        BcXmlFiler xml;
        if (isRegularFile(indexPath) && xml.open(toBc(indexPath)) && xml.findElement(BcString("QuorvaneBackup"), 0)) {
            for (TiXmlElement* e = xml.current->FirstChildElement(); e; e = e->NextSiblingElement()) {
                const char* id = e->Attribute("id");
                if (std::strcmp(e->Value(), "Document") != 0 || !id)
                    continue;
                int number = readNumber(id);
                if (number < 1 || number > highestNumber)
                    continue;
                highest = std::max(highest, number);
                const char* text = e->GetText();
                restoreEntry(number, toBc(text ? text : ""));
            }
        }
        nextNumber = highest + 1;
        if (listed.empty()) {
            deleteFolder(backupFolder);
        } else if (writeIndex()) {
            deleteUnlisted();
        }
    }
    lastPassTick = EdContext::current().tickCount();
}

bool AutoSave::restoreEntry(int number, const BcString& text)
{
    std::string backup = backupFolder + "/" + fileName(number);
    if (!isRegularFile(backup))
        return false;
    for (const Entry& e : listed)
        if (e.number == number)
            return false;
    std::string named = toUtf8(text);
    std::vector<QuorvaneDocument*> before;
    workspace.documents(before);
    // The empty document of a start without files makes way for a restored
    // one, once the backup has loaded: a failed restore leaves it.
    // (At start-up its window may not be active yet.)
    QuorvaneDocument* active = workspace.activeDocument();
    QuorvaneDocument* emptyStart = before.size() == 1 ? before[0] : nullptr;
    if (emptyStart && ((active && active != emptyStart) || emptyStart->IsModified() || !emptyStart->pathName().isEmpty()))
        emptyStart = nullptr;
    QuorvaneDocument* document = nullptr;
    bool ours = true;
    if (!named.empty() && isRegularFile(named)) {
        document = workspace.openFile(text);
        if (document && std::find(before.begin(), before.end(), document) != before.end()) {
            // Already open, from the command line say: the backup is newer
            // unless the user changed the document since.
            ours = false;
            for (const Entry& e : listed)
                if (e.document == document)
                    return false;
            if (document->IsModified())
                return false;
        }
    }
    if (!document) {
        document = workspace.newDocument();
        if (!document)
            return false;
        if (!named.empty())
            workspace.setTitle(document, fileNamePart(named));
    }
    if (!document->loadScore(toBc(backup), true)) {
        if (ours)
            workspace.closeDocument(document);
        return false;
    }
    workspace.restored(document);
    if (emptyStart && emptyStart != document) {
        std::vector<QuorvaneDocument*> now;
        workspace.documents(now);
        if (std::find(now.begin(), now.end(), emptyStart) != now.end() && !emptyStart->IsModified())
            workspace.closeDocument(emptyStart);
    }
    listed.push_back({document, number});
    known.push_back({document, number});
    return true;
}

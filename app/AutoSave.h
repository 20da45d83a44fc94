#pragma once

#include "foundation/BcString.h"

#include <string>
#include <vector>

class QuorvaneDocument;

// Crash-recovery backups. While the program runs, every modified document is
// copied at a fixed period into the backup folder as "%03d.qrv", and
// "index.xml" pairs each number with the document's path or title. A normal
// end deletes the folder; finding it at the next start means the last run
// ended abnormally, and recovery brings its documents back.
//
// A document keeps the number it first got for the whole run, and no number
// is given twice, so a file never holds another document's backup. Backups
// and index are written under a staging name and renamed into place: a crash
// while writing keeps the last good copy.
class AutoSave
{
public:
    // The documents and windows of the program, as the backups need them;
    // the shell's are the framework's documents, tests put in fakes.
    class Workspace
    {
    public:
        virtual ~Workspace();
        // Every open document, in the framework's order.
        virtual void documents(std::vector<QuorvaneDocument*>& out) = 0;
        // Copies the camera of the document's score view into it.
        virtual void keepCamera(QuorvaneDocument* document) = 0;
        virtual QuorvaneDocument* activeDocument() = 0;
        // Opens a file as a document (an open one is activated); null when
        // it does not open.
        virtual QuorvaneDocument* openFile(const BcString& path) = 0;
        virtual QuorvaneDocument* newDocument() = 0;
        virtual void closeDocument(QuorvaneDocument* document) = 0;
        virtual void setTitle(QuorvaneDocument* document, const BcString& title) = 0;
        // A backup was loaded into the document: one edit step that marks it
        // modified, its view taking the stored camera.
        virtual void restored(QuorvaneDocument* document) = 0;
    };

    explicit AutoSave(Workspace& workspace);
    virtual ~AutoSave();
    AutoSave(const AutoSave&) = delete;
    AutoSave& operator=(const AutoSave&) = delete;

    // $XDG_DATA_HOME/Tolmarin/Quorvane/AutoSave.
    static std::string defaultFolder();
    const std::string& folder() const { return backupFolder; }

    // At start-up: reopens the documents of the folder left by a run that
    // ended abnormally. Restored documents keep their backups and numbers;
    // everything else in the folder goes. The period starts now.
    void recover();
    // The same over another folder (tests).
    void recover(const std::string& folder);

    // Called at every idle moment: a pass once the period has passed since
    // the last, which writes the backups of documents changed since, the
    // index, and deletes the files of documents no longer modified. Minutes
    // below 1 count as 1.
    void saveBackups(int minutes);

    // After a document was saved or closed: its file and entry go. A saved
    // document keeps its number for its next backup; a closed one's number
    // is not given again.
    void removeBackup(QuorvaneDocument* document, bool closed);

    // A normal end: the folder goes, and no backup is written any more.
    void finish();

    // Rewrites the index from the listed documents; false when it could not
    // be written (the earlier index stays).
    bool writeIndex();
    // Deletes a folder with its content; false, leaving what remains, when
    // anything cannot be deleted.
    static bool deleteFolder(const std::string& path);

    // The listed documents and their numbers, in pass order.
    struct Entry
    {
        QuorvaneDocument* document;
        int number;
    };
    const std::vector<Entry>& entries() const { return listed; }
    static std::string fileName(int number);

    // Tests: a crash between writing a file under its staging name and
    // renaming it into place.
    static void failBeforeRename(bool fail);

private:
    struct Known
    {
        QuorvaneDocument* document;
        int number;
    };
    int numberOf(QuorvaneDocument* document);
    bool writeBackup(QuorvaneDocument* document, int number);
    bool restoreEntry(int number, const BcString& text);
    void deleteUnlisted();

    Workspace& workspace;
    std::string backupFolder;
    unsigned long long lastPassTick = 0;
    std::vector<Entry> listed;
    std::vector<Known> known;  // every document numbered in this run
    std::vector<QuorvaneDocument*> stale;  // whose last backup failed
    int nextNumber = 1;
};

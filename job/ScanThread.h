#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "DocumentRenamer.h"
#include "DocumentTypes.h"
#include "FileServices.h"
#include "JobOutput.h"
#include "JobReport.h"
#include "OutputGuard.h"
#include "ShellAccess.h"
#include "StartJob.h"
#include "TreeLister.h"

// The worker of one job. It holds its own references to everything it uses, so nothing
// the front-end frees can be reached from the job's thread.
class CScanThread {
  public:
    CScanThread(const JobRequest& request, std::shared_ptr<JobEvents> events);
    CScanThread(const CScanThread&) = delete;
    CScanThread& operator=(const CScanThread&) = delete;

    // The whole job, on the job's thread: scan, release, flush and close, then done with
    // the report.
    void run();

  private:
    // What the job does after a document.
    enum class Next { Document, Folder, Stop };
    // A subfolder of the tree as the job will take it, its documents told to the shell.
    struct PlannedFolder {
        WalkedFolder walked;
        std::optional<std::string> output;  // the output's name, when it stands in the folder
        std::vector<std::string> documents;
    };

    // The scan itself; returns at the end of the listing (or the tree), at a stop request,
    // or at the first failure (recorded in m_report).
    void scan();
    bool openFolder();
    // The top folder's listing, the first folder of the walk for a job over a tree.
    FolderListing listTop();
    // The walk's next folder; the subfolders it did not enter on the way are told.
    std::optional<WalkedFolder> nextWalkedFolder();
    // The kinds of the settings' list; false when it is refused.
    bool readTypes();
    // The renamer with the settings' rules; false when their template is refused.
    bool makeRenamer(const FolderListing& listing);
    // Refuses an output that is no regular file or is one of the documents.
    bool openOutput(const std::vector<std::string>& documents);
    // The documents of a folder's listing, in listing order, without owner files, the
    // output's name and anything of the settings folder.
    std::vector<std::string> documentNames(const std::string& folder,
                                           const std::optional<FileIdentity>& identity,
                                           const FolderListing& listing,
                                           const std::optional<std::string>& output) const;
    // Tells the shell the documents of a folder the job will take after those told before.
    void announce(const std::string& folder, const std::vector<std::string>& documents);
    // The documents of the current folder; false when the job must stop.
    bool processFolder(const std::vector<std::string>& documents);
    // The top folder's documents (announced), then each subfolder of the tree, opened in
    // turn; false when the job must stop.
    bool walkTree(const std::vector<std::string>& topDocuments);
    // Plans the subfolders of the walk that come next, once those planned hold fewer than
    // half of kPlannedDocuments and number fewer than half of kPlannedFolders, until they
    // hold or number the whole.
    void planAhead(std::deque<PlannedFolder>& planned);
    // The next subfolder of the walk, listed and announced; nothing once the tree is done.
    std::optional<PlannedFolder> planNextFolder();
    // One subfolder, opened; false when the job must stop.
    bool processSubfolder(const PlannedFolder& folder);
    // One document of the current folder.
    Next processDocument(const std::string& name);
    // Adds a row to the output; a failure is recorded in m_report.
    bool writeRow(const std::vector<std::string>& fields);
    // Writes the rows the output keeps back; a failure is recorded in m_report.
    bool writeRows();
    // Records a fault of the output, unless the job already failed.
    bool outputWritten(const std::optional<FileFault>& fault);
    // Completes and closes the output; a fault there fails the job like a failed write.
    void finishOutput();
    void releaseShellObjects();

    std::shared_ptr<JobEvents> m_events;
    std::shared_ptr<const CommandWord> m_command;
    std::shared_ptr<CCore> m_core;
    std::shared_ptr<ShellBackend> m_backend;
    JobSettings m_settings;
    bool m_bPreview;

    std::int32_t m_nCount = 0;
    // The shell layer with its m_shell, m_folder and m_item references.
    ShellAccess m_shell;
    // Declared after the shell layer, so it is closed first. Made when the job opens it.
    std::unique_ptr<JobOutput> m_output;

    std::string m_folderPath;  // normalised, ending with a separator
    // The folder whose documents are processed: the top one, or a subfolder of the walk,
    // and its path from the top one (shown to the user).
    std::string m_currentPath;
    std::string m_currentRelative;
    // The folders of a job over the tree.
    std::unique_ptr<TreeLister> m_walk;
    // The kinds of documents the job takes.
    DocumentTypes m_types;
    // Where the settings and journals are, whose files are no documents of any job.
    std::optional<FileIdentity> m_settingsFolder;
    // Where the output stands, looked up once for every folder of a tree.
    std::optional<OutputPlace> m_outputPlace;
    std::vector<int> m_columns;
    bool m_bHeadingWritten = false;
    // How far ahead of its folder the job lists a tree: documents enough to keep a backend's
    // reading ahead busy, and few enough folders that those it holds open stay few.
    static constexpr std::size_t kPlannedDocuments = 1024;
    static constexpr std::size_t kPlannedFolders = 64;
    JobReport m_report;
    // Made once the folder is listed, for a job that renames.
    std::unique_ptr<DocumentRenamer> m_renamer;
};

// What a new job's thread is handed: the front-end's request, where its notices go and
// the worker that runs it.
// Freed by the thread function when the job ends, or by startJob when the thread cannot
// be started; the worker goes with it.
struct ScanParams {
    JobRequest request;
    std::shared_ptr<JobEvents> events;
    std::unique_ptr<CScanThread> worker;
};

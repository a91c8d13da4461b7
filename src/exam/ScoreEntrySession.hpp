#pragma once

#include "exam/CandidateList.hpp"
#include "exam/EntryProgress.hpp"
#include "exam/HostFiles.hpp"
#include "exam/KDTree.hpp"
#include "exam/MissingCandidate.hpp"
#include "exam/ModuleState.hpp"
#include "exam/ScoreJournal.hpp"
#include "exam/ScoreSave.hpp"
#include "exam/ScoreSettings.hpp"
#include "exam/ScoresAboveMaximum.hpp"
#include "exam/SheetFeed.hpp"
#include "exam/VerificationStore.hpp"
#include "exam/VerifiedProgress.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace skorvin::exam {

class ExportGrid;

// The score-entry workflow behind the score window, free of widgets: the list of the
// organisation in view, finding a candidate, the checks on a score, its save, and the
// walks of the export and the printed sheet. Each step returns what happened; the window
// turns that into message boxes, focus, marks and repaint.
class ScoreEntrySession {
public:
    // The settings and the journal are the files of files.
    ScoreEntrySession(ModuleState& state, const HostFiles& files);

    // The list dataset and the save query, named as the window's components.
    ado::TADODataSet Main_AdoSet{"Main_AdoSet"};
    ado::TADOQuery Save_ADOQ{"Save_ADOQ"};

    ModuleState& state() { return state_; }

    // Binds the list and the save query to the host's connection and reads the schema
    // generation. Throws without a connection, and with the database's error.
    void bind();

    // The start-up: builds the organisation tree (a database error propagates with the nodes
    // read so far in tree), reads the examination settings into the module state and the
    // sheet's title, and gives the installation's node in the tree, -1 when none matches.
    int start(OrgTree& tree);
    // Counts the candidates of every node of tree (progress()); a failure leaves no counts.
    void readProgress(const OrgTree& tree);

    // Lists the candidates of node and applies the display choice, with the maximum of the
    // settings as they are now. A database error leaves the list closed and propagates.
    void selectNode(const SelectedNode& node, int displayChoice);
    // Reads the counts of tree and, when node is given, its list again, back on the candidate
    // that was current if the list still has that candidate.
    void reread(const OrgTree& tree, const std::optional<SelectedNode>& node, int displayChoice);
    // 0 not entered, 1 entered, 2 all; any other index changes nothing.
    void applyDisplayChoice(int index);

    // The score settings as the file holds them now (read again whenever the file may have changed).
    ScoreSettings settings() const;
    // Takes the maximum from the settings as they are now for the scores flagged in the list.
    void rereadMaximum();

    // Entered and total candidates per node of the tree, kept current by this window's saves,
    // undos and conflict answers. No counts while the counting statement fails.
    EntryProgress& progress() { return progress_; }
    // In 复核 the tree counts verified of entered (verifiedProgress()): on reads them, and every
    // later count read reads them too, until off. A failure leaves no verified counts.
    void countVerified(bool on);
    VerifiedProgress& verifiedProgress() { return verifiedProgress_; }
    // The list's visible rows whose stored score is above the maximum.
    ScoresAboveMaximum& aboveMaximum() { return aboveMaximum_; }
    // The score box's key filter, judging the text as it will be once the key is typed.
    char filterScoreKey(const std::string& textAfterTyping, char key) const;

    // Moves the list to the candidate with this (trimmed) number, whatever the display choice
    // hides from the search. False when the number is not there or the list cannot show the
    // row; the list then stays where it was.
    bool locate(const std::string& number);
    // Why a number locate did not find is missing from the list shown: hidden by the display
    // choice, listed under another organisation of tree, or nowhere. One statement by number,
    // run only for a number not found. Database errors propagate.
    MissingCandidate explainMissing(const std::string& number, const OrgTree& tree) const;

    enum class Check { Ok, NumberMissing, ScoreMissing, ScoreMalformed, AboveMaximum };
    // The checks before a save, on the boxes' texts, in the order they are made.
    Check validate(const std::string& number, const std::string& score) const;

    // What a save or an undo did.
    struct ChangeOutcome {
        enum class Kind {
            Applied,       // the database and the list row hold the new score
            InexactNumber, // a save's number lost characters on its way from the database
            Conflict,      // the database holds another score than the one the change was decided on
            Gone,          // the candidate is no longer in the database
        };
        Kind kind = Kind::Applied;
        std::string number; // the candidate's admission number
        std::string stored; // Conflict: the score the database holds
    };
    // Stores the score box's text for the list's current row: trimmed, one trailing "."
    // dropped. Unless replaceStored, a stored score that differs from the row's is not
    // overwritten (Conflict). The list row follows a saved score; a failure of that local
    // post is dropped only when the list has no row left. Database errors propagate.
    ChangeOutcome storeCurrent(const std::string& scoreBoxText, bool replaceStored);
    // After a save's Conflict the operator kept the stored score: the list row shows it.
    void keepStoredScore(const std::string& stored);

    // Every save and undo goes to the journal.
    ScoreJournal& journal() { return journal_; }

    // Writes back the score that this window's last save not undone replaced, and takes that
    // save off the undo list. Unless replaceStored, a score someone changed since the save is
    // left alone (Conflict, the save stays on the list). Database errors propagate.
    ChangeOutcome undoLastSave(bool replaceStored);
    // After an undo's Conflict the operator kept the stored score: the save leaves the undo
    // list and the candidate's row shows what the database holds.
    void keepStoredOnUndo(const std::string& stored);

    // What comparing a re-keyed score with the stored one found (复核).
    struct VerifyOutcome {
        enum class Kind {
            Verified,      // the same number as stored: journaled, the candidate is verified
            Differs,       // another score is stored; nothing recorded: the operator adjudicates
            NotEntered,    // the candidate has no stored score; nothing recorded
            InexactNumber, // the number lost characters on its way from the database
            Gone,          // the candidate is no longer in the database
        };
        Kind kind = Kind::Verified;
        std::string number;
        std::string stored; // the score the database held when it was read
        std::string keyed;  // the re-keyed score as a save would store it
    };
    // Compares the score box's text with the score the database holds now for the list's current
    // row, as numbers. Nothing is written to the examination database; the list row follows the
    // stored score. Database errors propagate.
    VerifyOutcome verifyCurrent(const std::string& scoreBoxText);
    enum class Adjudication { Adopt, Keep };
    // Settles a Differs, journaled either way. Adopt writes the re-keyed score through the save's
    // compare-and-set over the score the comparison read (Conflict when someone changed it since,
    // unless replaceStored), and Ctrl+Z can take it back as a save; Keep writes nothing. Either
    // confirms the score that stands. Database errors propagate.
    ChangeOutcome adjudicate(const VerifyOutcome& differs, Adjudication choice, bool replaceStored);
    // Where the confirmed scores are kept.
    VerificationStore& verifications() { return *verifications_; }
    // True while number's last confirmed score is score (as numbers); never for an empty score.
    bool verified(const std::string& number, const std::string& score);

    // Writes every row of the list, as grid shows it, to fileName (the export's text form).
    void exportList(ExportGrid& grid, const std::filesystem::path& fileName);
    // The same rows as a workbook (TDataGridExportAsWorkbook): one sheet named after the
    // organisation listed, the scores as numbers, and the organisation's code and name in two
    // columns after the grid's.
    void exportWorkbook(ExportGrid& grid, const std::filesystem::path& fileName);

    // The printed sheet's heading for the organisation node's text: its name and "四级主观题登分表".
    static std::string reportHeading(const std::string& nodeText);
    // The printed sheet over the list: the title composed at start-up, the listed
    // organisation's heading, and a walk over the rows the list shows.
    SheetFeed sheetFeed();
    // Runs print with the sheet's feed while the list's controls are frozen. However it ends,
    // the list goes back to the row it was on, with the same rows around it in grid, and the
    // controls follow it again.
    void printList(ExportGrid& grid, const std::function<void(const SheetFeed&)>& print);

    struct Candidate {
        std::string number; // zkzh
        std::string name;   // xm
        std::string score;  // tttt; NULL reads as the empty text
    };
    // The list's current candidate; nullopt while the list is closed or shows no row.
    std::optional<Candidate> current() const;
    // An organisation is listed (its list is open), though the display choice may show no row.
    bool listed() const { return Main_AdoSet.active(); }
    // The text of the organisation listed last (GBK); empty until one is.
    const std::string& organisation() const { return organisation_; }

private:
    void putListScore(const ado::FieldValue& score);
    // Puts score into the listed row of number, shown or hidden by the display choice; that
    // row becomes current when the choice shows it.
    void putRowScore(const std::string& number, const ado::FieldValue& score);
    // True when the list's snapshot has a row of number, whether or not the display choice shows it.
    bool listHolds(const std::string& number) const;
    // Applies change through the save query and journals event (its action, organisation,
    // number and score filled in) with what came of it, a database error included.
    ScoreApplied applyJournaled(JournalEvent event, const ScoreChange& change, bool force);
    // Writes change.score (never NULL) for the list's current row as a save does: journaled as
    // event, undoable, the list row following it.
    ChangeOutcome writeScore(const JournalEvent& event, const ScoreChange& change, bool force);
    // number's score went from before to after: the entered and the verified counts follow.
    void scoreMoved(const std::string& number, const ado::FieldValue& before, const ado::FieldValue& after);
    // score stands for number after a verification or an adjudication.
    void confirm(const std::string& number, const std::string& score);
    // The stored score of compared stands without a write: journaled as action (a verification or
    // a difference kept), confirmed, and shown by the list's row.
    void confirmStored(JournalEvent::Action action, const VerifyOutcome& compared);
    void readVerifiedProgress();
    // The list's current row shows stored, unless it shows that already.
    void followStored(const std::string& stored);

    ModuleState& state_;
    mutable ScoreSettingsFile settings_;
    EntryProgress progress_;
    VerifiedProgress verifiedProgress_{progress_};
    bool countingVerified_ = false;
    ScoresAboveMaximum aboveMaximum_{Main_AdoSet, "tttt"};
    ScoreJournal journal_;
    std::unique_ptr<VerificationStore> verifications_;
    std::string organisation_; // the text of the node listed
    std::string reportTitle_;  // composed at start-up from the examination date
};

} // namespace skorvin::exam

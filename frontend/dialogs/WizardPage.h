// What every job page shares: the buttons OK, Cancel, Help and Next and their
// order of work, the messages, and the option pairs.
//
// OK and Next commit an open grid editor, run the page's checks in order and
// stop at the first that fails (its message alone shows, nothing is stored,
// the controls keep what was typed); when all pass the page stores into the
// job record, hides, and Next shows the following page modally from inside
// the handler, so a walk is one modal sequence.  Cancel throws an open editor
// away and sets the controls from the record.  Escape and the window frame
// run Cancel.  Pages are created once and only hidden.
#pragma once

#include <QDialog>
#include <optional>

#include "core/JobPage.h"

class QButtonGroup;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vormgui {

class JobPages;
class UpDown;
class Services;
struct JobSettings;

// What a page needs of the rest of the front end.
struct PageContext {
    Services& services;
    JobSettings& job;
    JobPages& pages;  // the other pages, for the controls that a page reads or resizes
    QWidget* owner;   // the main window
};

class WizardPage : public QDialog, public JobPage {
    Q_OBJECT
public:
    enum class Press { Ok, Next };
    enum class NextButton { None, Shown, Disabled };

    QString pageName() const override { return objectName(); }
    void newJob(const JobSettings&) override {}

    void CommandOK_Click() { press(Press::Ok); }
    void CommandNext_Click() { press(Press::Next); }
    void CommandCancel_Click();
    void CommandHelp_Click();

    QPushButton* CommandOK;
    QPushButton* CommandCancel;
    QPushButton* CommandHelp;
    QPushButton* CommandNext = nullptr;  // none on the last page of a walk

    static const QString kError;    // "Error!"
    static const QString kWarning;  // "Warning!"
    static const QString kInconsistentCutoffs;

protected:
    struct Failure {
        QString text;
        QString title = kError;
    };

    WizardPage(const PageContext& context, const char* name, const char* title, const char* helpPage,
               NextButton next = NextButton::Shown, const char* nextCaption = "Next  >>");

    // The checks of one press, in order; the first failure or nothing.
    virtual std::optional<Failure> check(Press press) = 0;
    // After the checks passed: by default store, hide, and on Next show the
    // following page.
    virtual void proceed(Press press);
    virtual void store() {}
    virtual WizardPage* nextPage() { return nullptr; }
    // Cancel's part: the controls from the record.
    virtual void restore() = 0;
    // After Cancel has hidden the page.
    virtual void afterCancel() {}
    // A grid page's editor.
    virtual void commitEditor() {}
    virtual void discardEditor() {}

    void reject() override { CommandCancel_Click(); }
    void showEvent(QShowEvent* event) override;

    void showPage(WizardPage& page);
    void error(const QString& text) { fail({text}); }
    void fail(const Failure& failure);
    // The cut-off check after a store; false after its warning.
    bool consistentOrWarn();

    // Controls, named as their objectName.
    QGridLayout* body() const { return body_; }
    QLabel* label(const char* name, const QString& text, QWidget* parent = nullptr);
    QLineEdit* box(const char* name, QWidget* parent = nullptr);
    QRadioButton* option(const char* name, const QString& caption, QButtonGroup* group, QWidget* parent = nullptr);
    QGroupBox* frame(const char* name, const QString& caption);
    QButtonGroup* optionGroup();
    // A yes/no question: a frame holding two bare option buttons, each with
    // its label beside it, named OptionYes, LabelYes, OptionNo, LabelNo
    // followed by `suffix`.
    QGroupBox* yesNoFrame(const char* frameName, const QString& caption, QRadioButton*& yes, QLabel*& yesLabel,
                          QRadioButton*& no, QLabel*& noLabel, const char* suffix = "");

    Services& services_;
    JobSettings& job_;
    JobPages& pages_;

private:
    void press(Press press);

    QString helpPage_;
    QGridLayout* body_;
};

// A label (or option), its number box and the box's spin button (if any)
// beside it in a row of a grid layout; column 2 takes the spare width.
void addNumberRow(QGridLayout* grid, int row, QWidget* label, QLineEdit* box, UpDown* spin = nullptr);

// Sets an option as a click would: checked, and its click handler run.
void choose(QRadioButton* option);
// Neither option of a group set.
void clearChoice(QButtonGroup* group);
// true for the first option set, false for the second, nothing for neither.
std::optional<bool> choice(const QRadioButton* first, const QRadioButton* second);
inline void choose(QRadioButton* first, QRadioButton* second, bool takeFirst) { choose(takeFirst ? first : second); }

}  // namespace vormgui

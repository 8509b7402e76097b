// The four viewers of the engine's text outputs, one window design: the
// report (FormExecInfoOutput), the item parameters (FormParaOutput), the
// person parameters (FormPersonOutput) and the fit report (FormStatOutput).
// A viewer shows a file whole in a fixed-pitch font and offers Save As,
// Print, Close, OK and Help.
#pragma once

#include <QByteArray>
#include <QDialog>
#include <array>

#include "platform/Services.h"

class QAction;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;

namespace vormgui {

struct TextOutputKind {
    const char* formName;       // also the window's objectName
    const char* caption;        // the window's title
    const char* unitFile;       // the engine's file in the work folder
    const char* helpPage;       // in the help folder
    const char* saveAsCaption;  // of the File menu's Save As entry
    int clientWidth;            // twips, below the menu bar
    int clientHeight;
    int okX;  // twips
    int helpX;
};

inline constexpr std::array<TextOutputKind, 4> kTextOutputs = {{
    {"FormExecInfoOutput", "Execution Information", "FT06F001", "ExeInfo.htm", "Save As", 7680, 3585, 120, 1440},
    {"FormParaOutput", "Item Parameters", "FT16F001", "ItemPara.htm", "Save as...", 7710, 3600, 120, 1560},
    {"FormPersonOutput", "Person Parameters", "FT17F001", "PersonPara.htm", "Save As", 7710, 3600, 120, 1440},
    {"FormStatOutput", "Fit Statistics", "FT15F001", "FitStat.htm", "Save As", 7695, 3585, 240, 1440},
}};

class FormTextOutput : public QDialog {
    Q_OBJECT
public:
    FormTextOutput(const TextOutputKind& kind, Services& services, const QString& helpDir, QWidget* parent = nullptr);
    ~FormTextOutput() override;

    const TextOutputKind& kind() const { return kind_; }

    // The file as read, in the text box (line ends as the platform shows
    // them), where the reader may edit it.
    void setContent(const QByteArray& bytes);

    void CommandOK_Click();
    void CommandHelp_Click();
    void mnuSaveAsItem_Click();
    void mnuPrintItem_Click();
    void mnuCloseItem_Click();

    // Whether the window's close box ended the last showing: that destroys
    // the viewer, where OK and Close only hide it.
    bool closedByCloseBox() const { return closedByCloseBox_; }

    QMenuBar* menuBar;
    QMenu* mnuFile;
    QAction* mnuSaveItem;
    QAction* mnuSaveAsItem;
    QAction* mnuPrintItem;
    QAction* mnuCloseItem;
    QPlainTextEdit* TextContent;
    QPushButton* CommandOK;
    QPushButton* CommandHelp;
    // The save dialog's memory: the last chosen file name stays for the next Save As.
    FileChoice CommonDialogOutput;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    const TextOutputKind& kind_;
    Services& services_;
    QString helpDir_;
    bool closedByCloseBox_ = false;
};

}  // namespace vormgui

#pragma once

#include "WordView.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class Clock;
class DataGrid;
class MessageBox;
class ProgramExit;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class TextBox;
class modUpdate;

// The main window: input boxes, commands, the word list and its count.
class Form1 : public QMainWindow, private WordView {
    Q_OBJECT
public:
    // How long a command waits, with a busy cursor, while another program writes to the notebook: long
    // enough for tessimor-db to add the search index to a notebook of a million pairs.
    static constexpr int kLockPatienceMs = 30000;

    Form1(const QString& databasePath, MessageBox& messages, ProgramExit& exit, const Clock& clock,
          int lockPatienceMs = kLockPatienceMs, QWidget* parent = nullptr);
    ~Form1() override;

signals:
    // The about dialog is opened by whoever owns the program's windows.
    void aboutRequested();

private:
    void buildControls();
    void buildTabOrder();
    void Form_Load();

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void DataGrid1_SelChange();

    // Runs a command, reporting a database failure in a message box; the program goes on.
    void runCommand(const std::function<void()>& command);

    // WordView
    ResultGrid& DataGrid1() override;
    ResultGrid& DataGrid2() override;
    ResultGrid& DataGrid3() override;
    QString text1() const override;
    QString text2() const override;
    QString text3() const override;
    void setText1(const QString& text) override;
    void setText2(const QString& text) override;
    void setText3(const QString& text) override;
    void setLabel3(const QString& caption) override;
    void setCommand2Enabled(bool enabled) override;
    void showMessage(const QString& text) override;
    void endProgram() override;

    MessageBox& m_messages;
    ProgramExit& m_exit;
    std::unique_ptr<modUpdate> m_store;

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    TextBox* Text1 = nullptr;
    TextBox* Text2 = nullptr;
    TextBox* Text3 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command7 = nullptr;
    DataGrid* m_DataGrid1 = nullptr;
    DataGrid* m_DataGrid2 = nullptr;
    DataGrid* m_DataGrid3 = nullptr;
    QMenu* mnu = nullptr;
    QAction* mnuversion = nullptr;

    QString English;
    QString Japanese;
    qint32 IntReg = 0;
};

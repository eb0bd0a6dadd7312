#pragma once

#include <QObject>
#include <QString>
#include <optional>

class QLabel;
class QLineEdit;
class QMainWindow;
class QProgressBar;
class QPushButton;
class QStatusBar;

// The status bar of the main window: the status text, the progress of a conversation, the
// button that gets out of it, and the fixed version panel.
class StatusLine : public QObject
{
    Q_OBJECT
public:
    // Puts the status bar on `window`.
    explicit StatusLine(QMainWindow *window);

    void setCaptions(int language);
    // A text of nothing leaves the field as it is.
    void setStatus(const std::optional<QString> &text);
    void setProgress(bool visible, int value, int maximum);
    // The way out is offered while a conversation runs.
    void setRunning(bool running);
    // The image in hand differs from what was last read, sent, opened or saved: "Gewijzigd".
    void setChanged(bool changed, int language);

Q_SIGNALS:
    // The installer pressed the button that gets out of the conversation ("Afbreken").
    void abortRequested();

private:
    QStatusBar *StatusBar1;
    QLineEdit *Text1;
    QProgressBar *ProgressBar1;
    QPushButton *AbortButton;
    QLabel *ChangedPanel;
};

// Every notice, question and error the program shows goes through one service, so
// that tests can answer it. The program installs the prompt box and the system
// message box at start-up; tests install a recording fake.
#pragma once

#include <QString>

namespace widgets {

// Picture of the prompt box: notice, warning, error.
enum PromptPicture { kPictureNotice = 0, kPictureWarning = 1, kPictureError = 2 };

// Icon and buttons of a plain system message box.
enum class MessageIcon { Information, Warning, Critical, Question };
enum class MessageButtons { Ok, OkCancel };
enum class MessageResult { Ok, Cancel };

class PromptService {
  public:
    virtual ~PromptService() = default;
    // The prompt box: kind 0..3 chooses the buttons, mode "Exam" their texts;
    // returns 1, 2 or 3 for the button pressed.
    virtual int promptBox(const QString& caption, const QString& text, int kind,
                          const QString& mode, int picture) = 0;
    // A plain system message box.
    virtual MessageResult messageBox(const QString& caption, const QString& text, MessageIcon icon,
                                     MessageButtons buttons) = 0;
};

// The service in use; none installed means every prompt is answered with its
// first button without showing anything (a program without windows).
PromptService* promptService();
// Installs a service and returns the one it replaces.
PromptService* setPromptService(PromptService* service);

int ShowPromptBox(const QString& caption, const QString& text, int kind, const QString& mode,
                  int picture);
MessageResult ShowMessage(const QString& caption, const QString& text, MessageIcon icon,
                          MessageButtons buttons = MessageButtons::Ok);

// A written document that no program on this machine opens: where it was saved.
void ShowDocumentSavedAt(const QString& path);

}  // namespace widgets

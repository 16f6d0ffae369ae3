// A prompt service that records what would have been shown and answers as told.
#pragma once

#include "Prompt.h"

#include <QStringList>

class FakePrompts : public widgets::PromptService {
  public:
    FakePrompts() { previous_ = widgets::setPromptService(this); }
    ~FakePrompts() override { widgets::setPromptService(previous_); }

    int promptBox(const QString& caption, const QString& text, int kind, const QString&,
                  int picture) override {
        shown << QStringLiteral("prompt|%1|%2|%3|%4").arg(caption, text).arg(kind).arg(picture);
        return promptAnswer;
    }
    widgets::MessageResult messageBox(const QString& caption, const QString& text,
                                      widgets::MessageIcon icon,
                                      widgets::MessageButtons buttons) override {
        shown << QStringLiteral("message|%1|%2|%3|%4")
                     .arg(caption, text)
                     .arg(static_cast<int>(icon))
                     .arg(static_cast<int>(buttons));
        return messageAnswer;
    }

    QStringList shown;
    int promptAnswer = 1;
    widgets::MessageResult messageAnswer = widgets::MessageResult::Ok;

  private:
    widgets::PromptService* previous_ = nullptr;
};

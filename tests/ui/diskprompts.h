#pragma once

// Answers the modal prompts a window opens on its own (from a file watch, at
// start-up), as the user would, and notes which ones came.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>
#include <utility>
#include <vector>

namespace bitloom::test {

class PromptAnswers {
public:
    PromptAnswers()
    {
        QObject::connect(&mPoll, &QTimer::timeout, [this] { answer(); });
        mPoll.start(5);
    }
    // The buttons to click, one per prompt, in order.
    void queue(QMessageBox::StandardButton button) { mButtons.push_back(button); }
    // (objectName, text) of each prompt answered so far.
    const std::vector<std::pair<QString, QString>>& seen() const { return mSeen; }

private:
    void answer()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        // Only the prompts: messages that merely inform are left alone.
        if (!box || !box->isVisible() || !box->objectName().endsWith(QStringLiteral("Prompt")))
            return;
        if (mButtons.empty()) {
            ADD_FAILURE() << "unexpected prompt: " << box->text().toStdString();
            box->reject();
            return;
        }
        mSeen.emplace_back(box->objectName(), box->text());
        QAbstractButton* button = box->button(mButtons.front());
        mButtons.pop_front();
        if (button)
            button->click();
        else
            ADD_FAILURE() << "the prompt has no such button: " << box->text().toStdString();
    }

    QTimer mPoll;
    std::deque<QMessageBox::StandardButton> mButtons;
    std::vector<std::pair<QString, QString>> mSeen;
};

} // namespace bitloom::test

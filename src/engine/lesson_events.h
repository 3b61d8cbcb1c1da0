// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the lesson engine asks of the window around it in the middle of its rules. The lesson window
// implements it; tests record the calls. Every effect defaults to nothing.

namespace vb {

class LessonEvents
{
public:
    virtual ~LessonEvents() = default;

    // A shown counter or score changed: refresh the status bar.
    virtual void UpdateStatusBar() { }
    // Fill the last-right-word panel with LessonWords[wordIndex].
    virtual void ShowLastRightWord(int wordIndex) { (void)wordIndex; }
    // Start the answer echo (pronounce the word and its translation, then ask for the next task).
    virtual void PronounceRightAnswer() { }
    // The exercise is over and the pupil wants the window hidden to the tray.
    virtual void HideToTray() { }
    // "повторить" raised a learned threshold; the settings control takes the new value and it is stored.
    virtual void LearnedThresholdRaised(int method, int threshold)
    {
        (void)method;
        (void)threshold;
    }
};

} // namespace vb

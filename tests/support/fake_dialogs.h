#pragma once
// Scripted dialogs for tests: records every message and fails the test on a question that has
// no scripted answer.
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace harlune::test {

class FakeDialogs : public ScriptedDialogs {
public:
    using ScriptedDialogs::ScriptedDialogs;
    // Set false where running out of answers (No / Cancel) is the point of the test.
    bool failOnUnanswered = true;

protected:
    void unanswered(std::string_view kind, std::string_view text) override {
        if (failOnUnanswered)
            ADD_FAILURE() << "unexpected question (" << kind << "): " << text;
    }
};

} // namespace harlune::test

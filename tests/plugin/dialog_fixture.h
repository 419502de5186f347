#ifndef LIRVA_TESTS_DIALOG_FIXTURE_H
#define LIRVA_TESTS_DIALOG_FIXTURE_H

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "exec_thread.h"
#include "lirva_dialog.h"
#include "temp_tree.h"
#include "widget_private.h"

// A player window (not shown) over a temporary directory tree.
class DialogTest : public ::testing::Test {
protected:
    explicit DialogTest(const std::string& treeName = "lirva-test") : tree(treeName) { }
    // Play threads end before the window goes, as when the user leaves it.
    ~DialogTest() override { ExecThread::stopAll(); }

    std::vector<std::string> entries() const
    {
        std::vector<std::string> texts;
        eListBox<eListBoxEntryText>* list = dialog->fileList();
        for (int i = 0; i < internals(*list).getCount(); ++i)
            texts.push_back(internals(*list).entryAt(i)->getText());
        return texts;
    }

    // Selects a row as if the user had pressed OK on an entry with this text.
    void select(const std::string& text) { dialog->selectedItem(new eListBoxEntryText(&scratch, eString(text))); }

    // Enters an absolute directory from "/" by its full path.
    void enter(const std::string& absolute)
    {
        dialog->displayroot();
        select(absolute);
        ASSERT_EQ(dialog->currentDirectory(), absolute);
    }

    std::string current() const { return dialog->currentDirectory(); }

    TempTree tree;
    std::unique_ptr<eLirvaDialog> dialog = std::make_unique<eLirvaDialog>();
    eListBox<eListBoxEntryText> scratch{nullptr};
};

#endif

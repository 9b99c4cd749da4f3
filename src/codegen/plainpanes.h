#pragma once

#include "codegen/codepane.h"
#include "model/namebox.h"

#include <string>
#include <vector>

namespace bitloom {

// A name box held in plain strings, for running the core without a window.
class PlainNameBox final : public NameBox {
public:
    explicit PlainNameBox(std::string text = "Sprite") : mText(std::move(text)) {}
    std::string text() const override { return mText; }
    void addItem(const std::string& name) override { mItems.push_back(name); }

    void setText(std::string text) { mText = std::move(text); }
    const std::vector<std::string>& items() const { return mItems; }

private:
    std::string mText;
    std::vector<std::string> mItems;
};

// A code pane held in a plain string; counts whole-text writes.
class PlainCodePane final : public CodePane {
public:
    const std::string& text() const override { return mText; }
    void setText(const std::string& text) override
    {
        mText = text;
        ++mWrites;
    }

    int writes() const { return mWrites; }

private:
    std::string mText;
    int mWrites = 0;
};

} // namespace bitloom

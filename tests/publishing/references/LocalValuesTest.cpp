#include "publishing/references/LocalValues.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// The rule written plainly: at each place, the first taken value that
// occurs there is replaced, else the byte is kept.
std::string plainRewrite(const std::string& text, const std::vector<std::string>& values,
                         const std::vector<std::string>& names) {
    auto matches = [&](std::size_t at, const std::string& value) {
        if (value.empty() || text.size() - at < value.size())
            return false;
        for (std::size_t i = 0; i < value.size(); ++i) {
            char c = text[at + i];
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
            if (value[i] != '?' && value[i] != c)
                return false;
        }
        return true;
    };
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t i = 0;
        while (i < values.size() && !matches(at, values[i]))
            ++i;
        if (i == values.size()) {
            out += text[at++];
        } else {
            out += names[i];
            at += values[i].size();
        }
    }
    return out;
}

} // namespace

// Overlapping values, values that are suffixes or prefixes of others, and
// "?" in values and in the text, over a small alphabet so that they meet.
TEST(LocalValues, AgreesWithThePlainRuleOnOverlappingValues) {
    std::mt19937 random(15);
    const std::string alphabet = "abA?:";
    auto word = [&](std::size_t longest) {
        std::string w(1 + random() % longest, 'a');
        for (char& c : w)
            c = alphabet[random() % alphabet.size()];
        return w;
    };
    for (int round = 0; round < 3000; ++round) {
        references::LocalValues local;
        std::vector<std::string> values, names;
        for (int i = 0, count = 1 + static_cast<int>(random() % 5); i < count; ++i) {
            std::string value = word(4);
            for (char& c : value)
                c = c == 'A' ? 'a' : c;
            std::string name = "<" + std::to_string(i) + ">";
            if (local.add(value, name)) {
                values.push_back(value);
                names.push_back(name);
            }
        }
        std::string text = word(30);
        ASSERT_EQ(local.rewriteOccurrences(text), plainRewrite(text, values, names))
            << "text " << text << " first value " << values[0];
    }
}

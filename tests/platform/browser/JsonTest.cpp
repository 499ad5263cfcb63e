// The answers of the editing layer that come back as JSON texts.

#include "platform/webkit/Json.h"

#include <gtest/gtest.h>

using browser::Value;

TEST(JsonTexts, ArraysOfTextsAndNullsReadBackAsSent) {
    struct Case {
        const char* json;
        std::vector<Value> values;
    };
    const Case cases[] = {
        {"[]", {}},
        {"[null]", {Value()}},
        {"[\"40\",null,\"\"]", {Value("40"), Value(), Value("")}},
        {R"(["a \"q\" \\ b\n\t"])", {Value("a \"q\" \\ b\n\t")}},
        {R"(["\u00e9t\u00e9 \u2603 \ud83d\ude00"])",
         {Value("\xc3\xa9t\xc3\xa9 \xe2\x98\x83 \xf0\x9f\x98\x80")}},
        {"[\"\xc3\xa9\"]", {Value("\xc3\xa9")}},
    };
    for (const Case& c : cases) {
        std::vector<Value> values;
        EXPECT_TRUE(webkit::json::readTexts(c.json, values)) << c.json;
        EXPECT_EQ(values, c.values) << c.json;
    }
}

TEST(JsonTexts, DamagedArraysAreRefused) {
    for (const char* json :
         {"", "[", "[\"a\"", "[\"a\",]", "[\"a\"]x", "[nul]", "[\"\\u12\"]", "{\"a\":1}"}) {
        std::vector<Value> values;
        EXPECT_FALSE(webkit::json::readTexts(json, values)) << json;
    }
}

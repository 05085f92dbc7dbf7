#include "net/ExtractField.h"

#include <gtest/gtest.h>

namespace {
const char* kHeader = "Return-Path: <bob@example.com>\r\n"
                      "X-Original-From: list-bounce@example.org\r\n"
                      "Subject: Lunch on\r\n"
                      " Friday: budget talk\r\n"
                      "from: Bob Smith <bob@example.com>\r\n"
                      "Date: Tue, 2 Jan 2024 08:15:45 -0500\r\n"
                      "Message-ID: <1@example.com>\r\n";
}

TEST(ExtractField, TakesTheFieldAtALineStartInAnyCaseWithItsLeadingBlank) {
    EXPECT_EQ(ExtractField(kHeader, "From:"), " Bob Smith <bob@example.com>");
    EXPECT_EQ(ExtractField(kHeader, "FROM:"), " Bob Smith <bob@example.com>");
    // The time's colons belong to the value; the next field's name does not.
    EXPECT_EQ(ExtractField(kHeader, "Date:"), " Tue, 2 Jan 2024 08:15:45 -0500");
    EXPECT_EQ(ExtractField(kHeader, "Cc:"), "");
}

TEST(ExtractField, UnfoldsAFoldedValueKeepingTheBlankAndItsColons) {
    EXPECT_EQ(ExtractField(kHeader, "Subject:"), " Lunch on Friday: budget talk");
    EXPECT_EQ(ExtractField("Subject:\r\n Re: budget\r\nFrom: a\r\n", "Subject:"), " Re: budget");
    EXPECT_EQ(ExtractField("Subject: one\r\n\ttwo\r\n  three\r\n", "Subject:"), " one\ttwo  three");
}

TEST(ExtractField, IgnoresTheNameInsideOtherFieldsAndValues) {
    const char* header = "X-Original-From: spam@example.org\r\n"
                         "Subject: mail from: nobody\r\n"
                         "Date: Mon, 1 Jan 2024 10:20:30 +0000\r\n";
    EXPECT_EQ(ExtractField(header, "From:"), "");
    EXPECT_EQ(ExtractField(header, "Subject:"), " mail from: nobody");
}

TEST(ExtractField, ReadsTheLastFieldAndBareLineFeedsAndStopsAtTheBody) {
    EXPECT_EQ(ExtractField("From: a\r\nDate: Mon, 1 Jan 2024 10:20:30 +0000", "Date:"),
              " Mon, 1 Jan 2024 10:20:30 +0000");
    EXPECT_EQ(ExtractField("From: a\nSubject: b\n c\nDate: d\n", "Subject:"), " b c");
    EXPECT_EQ(ExtractField("From: a\nSubject: b\n c\nDate: d\n", "Date:"), " d");
    // A header ends at its blank line; what follows is body text, not a field.
    EXPECT_EQ(ExtractField("Subject: s\r\n\r\nFrom: not a field\r\n", "From:"), "");
    EXPECT_EQ(ExtractField("From:\r\nSubject: s\r\n", "From:"), "");
    EXPECT_EQ(ExtractField("", "From:"), "");
}

#include "net/CPop3Client.h"

#include <gtest/gtest.h>

TEST(Pop3Parse, StatReadsCountAndSizeFromAnExactPositiveReply) {
    int count = -1;
    long long size = -1;
    ASSERT_TRUE(CPop3Client::ParseStat("+OK 3 643", count, size));
    EXPECT_EQ(count, 3);
    EXPECT_EQ(size, 643);
    ASSERT_TRUE(CPop3Client::ParseStat("+OK\t0  0", count, size));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(size, 0);
    // Mailboxes beyond 2 GB keep their size.
    ASSERT_TRUE(CPop3Client::ParseStat("+OK 100000 8589934592", count, size));
    EXPECT_EQ(count, 100000);
    EXPECT_EQ(size, 8589934592LL);

    count = 7;
    EXPECT_FALSE(CPop3Client::ParseStat("+ok 3 643", count, size)); // case matters for STAT
    EXPECT_FALSE(CPop3Client::ParseStat("+OK 3", count, size));
    EXPECT_FALSE(CPop3Client::ParseStat("-ERR 3 643", count, size));
    EXPECT_FALSE(CPop3Client::ParseStat("", count, size));
    EXPECT_FALSE(CPop3Client::ParseStat("+OK 100001 5", count, size));
    EXPECT_FALSE(CPop3Client::ParseStat("+OK 2000000000 5", count, size));
    EXPECT_FALSE(CPop3Client::ParseStat("+OK 99999999999999999999999 5", count, size));
    EXPECT_FALSE(CPop3Client::ParseStat("+OK -1 5", count, size));
    EXPECT_EQ(count, 7) << "a refused reply leaves the count alone";
}

TEST(Pop3Parse, ListTakesTheSizeOfEachLineInOrder) {
    std::vector<std::uint32_t> sizes{99};
    CPop3Client::ParseList("+OK 4 messages:\r\n1 120\r\n2 4000000000\r\n3\r\n4\t7 extra\r\n",
                           sizes);
    EXPECT_EQ(sizes, (std::vector<std::uint32_t>{120, 4000000000u, 7}));
    // Sizes beyond 32 bits are held at the top; the terminator line ends the list.
    CPop3Client::ParseList("+OK\r\n1 99999999999999\r\n.\r\n2 5\r\n", sizes);
    EXPECT_EQ(sizes, (std::vector<std::uint32_t>{4294967295u}));
    CPop3Client::ParseList("+OK no list", sizes);
    EXPECT_TRUE(sizes.empty());
}

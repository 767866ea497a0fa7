#pragma once

// QTest's checks as GoogleTest checks: QTRY_VERIFY and QTRY_COMPARE end in
// QVERIFY and QCOMPARE, which outside a QTest run only return from the test
// without failing it. Here a check that does not hold within its time fails
// the test, with what it checked.

#include <QTest>

#include <gtest/gtest.h>

#undef QVERIFY
#define QVERIFY(statement) ASSERT_TRUE(static_cast<bool>(statement)) << "QVERIFY(" #statement ")"
#undef QCOMPARE
#define QCOMPARE(actual, expected) ASSERT_EQ(actual, expected) << "QCOMPARE(" #actual ", " #expected ")"
#undef QVERIFY2
#define QVERIFY2(statement, description) ASSERT_TRUE(static_cast<bool>(statement)) << (description)

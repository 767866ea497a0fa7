#pragma once

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

// The one application object of a widget test executable (offscreen
// platform from the test environment). It is made on first use and destroyed
// when the tests end, before the program's static objects go.
class QtAppEnvironment : public testing::Environment
{
public:
    static QApplication &App()
    {
        static QtAppEnvironment *environment = [] {
            auto *made = new QtAppEnvironment;
            testing::AddGlobalTestEnvironment(made);
            return made;
        }();
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (!environment->m_app)
            environment->m_app = std::make_unique<QApplication>(s_argc, s_argv);
        return *environment->m_app;
    }

    void TearDown() override { m_app.reset(); }

private:
    static inline int s_argc = 1;
    static inline char s_name[] = "ipcheck_test";
    static inline char *s_argv[] = {s_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

inline QApplication &TestApp()
{
    return QtAppEnvironment::App();
}

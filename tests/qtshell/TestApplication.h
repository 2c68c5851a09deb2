#pragma once
// The one QApplication of the qtshell tests, made on first use and kept for the whole run.

#include <QApplication>

namespace slipway::test {

QApplication& testApplication();

}  // namespace slipway::test

#pragma once
// The client's debug output, off unless asked for (QT_LOGGING_RULES="tarnwick.toc.debug=true"):
// messages it does not know, commands it refuses, and handler failures it swallows. Passwords,
// roasted or not, and the login line never go into it.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcToc)

#pragma once

// True when the user's UI language or, failing that, the user's locale is Chinese.
bool IsSystemLanguageChinese();

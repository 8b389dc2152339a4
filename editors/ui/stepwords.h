// The words of the steps' menu texts in the user's language.
#pragma once

#include "editors/projecthistory.h"

orb8::StepWords StepWordsInLanguage();

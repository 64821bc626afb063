#include "preferencepageinterface.h"

PreferencePageInterface::~PreferencePageInterface() = default;

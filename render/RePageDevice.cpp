#include "render/RePageDevice.h"

RePageDevice::~RePageDevice() = default;

#pragma once

// The vendor site of a build that names one, for the test of the vendor links.
#define QUORVI_VENDOR_SITE "http://www.example.com"

#pragma once
// Tips of the day (placeholder until it lands).

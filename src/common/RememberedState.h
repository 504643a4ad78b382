#pragma once

class Settings;
struct AlarmState;
struct GraphState;
struct LiveReading;
struct RecordingState;
struct SharedState;

// The parts of the shared state the user sets that outlive a run. `settings` may be null (tests,
// luxlog-cli): nothing is then recalled or kept. Values out of their allowed range are ignored.

// After the main window's load: the sampling time and the alarm as last set.
void recallStartValues(SharedState& state, const Settings* settings);
void rememberSamplingTime(const RecordingState& state, Settings* settings);
void rememberAlarm(const AlarmState& state, Settings* settings);

// The graph's Max/Min/Counts, kept with the unit and range they were set for: recalled only
// when the graph opens on that same unit and range, within its limits.
void rememberGraphRange(const GraphState& graph, const LiveReading& live, Settings* settings);
void recallGraphRange(GraphState& graph, const LiveReading& live, const Settings* settings);

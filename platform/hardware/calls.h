// Incoming calls on the phone's cellular line, kept in phone.db so that every
// program sees them: the call itself (its caller ID, while it lasts), which
// monitoring programs have heard of it, and the phone's ringer, which rings
// an offered call once its monitors have heard of it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct IncomingCall {
  int64_t id = 0;
  std::string number;  // empty: no caller ID
};

// A caller ID as the phone's network hands it over: 1 to 40 of 0-9 + * #.
bool ValidCallerNumber(const std::string& number);

// Offers a call from `number` ("" for none) on the line: recorded and
// numbered, not yet rung. The caller commits its transaction, if any, and
// then lets the ringer ring it (RingWhenHeard, or the window's checks).
int64_t OfferCall(const std::string& number);
// Ends the calls in progress from `number`, or every one when `number` is
// "". The number of calls ended.
int EndCalls(const std::string& number);
// The calls in progress, oldest first.
std::vector<IncomingCall> CallsInProgress();

// A process with a line that monitors calls says so, and says when it has
// delivered a call's offering to its lines.
void SetMonitoring(bool monitoring);
void MarkCallHeard(int64_t id);

// The ringer: true once every live monitoring process has heard of the
// call. RingCall rings a call still in progress and not yet rung: it reads
// the phone's ring volume and tone at that moment and journals
// `Ring NUMBER volume V tone "T"`, or `Ring NUMBER silent` at level 0.
bool CallHeardByMonitors(int64_t id);
void RingCall(int64_t id);

// Rings the call a moment after its offering, once its monitors heard of
// it (or after about five seconds of program time regardless), from this
// program's message loop.
void RingSoon(int64_t id);
// The same for a program without a message loop (the device tool): waits in
// real time.
void RingWhenHeard(int64_t id);

// Monitoring lines of this process look at the calls now, rather than at
// their next look (a call offered or ended by this very process); tapi.cpp.
void LookAtCallsNow();

}  // namespace platform

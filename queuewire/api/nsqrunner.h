#pragma once
// The two threads that a successful lookup starts: consumers and producers.
#include "nsqnode.h"

#include <string>
#include <vector>

class NsqHandle;

namespace NsqRunner {

// One consumer per channel, node and topic, on the consumer loop until it stops.
void runConsumers(NsqHandle *handle, nsq::NsqNodesPtr nodes, std::vector<std::string> channels);
// One producer per node; a 1 ms tick publishes one queued message through all of them.
void runProducer(NsqHandle *handle, nsq::NsqNodesPtr nodes);

} // namespace NsqRunner

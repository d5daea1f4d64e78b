#pragma once
// One lookup double and n nsqd doubles that it reports, all on free loopback ports:
//
//     nsqdouble::NsqDoubles doubles;
//     QVERIFY(doubles.start(2));                  // lookup + two nodes
//     link.RunInst({"topic"}, "127.0.0.1", doubles.lookupPort());
//     QTRY_COMPARE(doubles.node(0).openConnections(), 2);
//     doubles.node(0).publish("topic", "hello");  // goes to the subscribers
//
// The nsqd side is described in nsqddouble.h, the lookup in lookupdouble.h.
#include "lookupdouble.h"
#include "nsqddouble.h"

#include <memory>
#include <vector>

namespace nsqdouble {

class NsqDoubles
{
public:
    // Starts the lookup and `nodes` nsqd doubles; false when a port cannot be had.
    bool start(int nodes = 1);

    LookupDouble &lookup() { return m_lookup; }
    quint16 lookupPort() const { return m_lookup.port(); }
    NsqdDouble &node(int index) { return *m_nodes.at(static_cast<size_t>(index)); }
    int nodeCount() const { return static_cast<int>(m_nodes.size()); }
    // Published bodies on topic over all nodes.
    QByteArrayList published(const QByteArray &topic) const;

private:
    // Nodes first: the lookup asks them for their topics, so it must go first.
    std::vector<std::unique_ptr<NsqdDouble>> m_nodes;
    LookupDouble m_lookup;
};

} // namespace nsqdouble

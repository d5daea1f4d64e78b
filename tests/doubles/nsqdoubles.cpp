#include "nsqdoubles.h"

namespace nsqdouble {

bool NsqDoubles::start(int nodes)
{
    if (!m_lookup.start())
        return false;
    QList<NodeEntry> entries;
    for (int i = 0; i < nodes; ++i) {
        auto node = std::make_unique<NsqdDouble>();
        if (!node->start())
            return false;
        NodeEntry entry;
        entry.tcpPort = node->tcpPort();
        NsqdDouble *live = node.get();
        entry.topicSource = [live] { return live->topics(); };
        entries.append(entry);
        m_nodes.push_back(std::move(node));
    }
    m_lookup.setNodes(entries);
    return true;
}

QByteArrayList NsqDoubles::published(const QByteArray &topic) const
{
    QByteArrayList out;
    for (const auto &node : m_nodes)
        out += node->published(topic);
    return out;
}

} // namespace nsqdouble

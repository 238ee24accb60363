#include "plan/PlanWriter.h"

void TPlanWriter::NewBoxes()
{
    for (; ui_.reported < ui_.boxes.size(); ++ui_.reported)
        Quote("box \"" + ui_.boxes[ui_.reported].first + "\":", ui_.boxes[ui_.reported].second);
}

void TPlanWriter::Quote(const std::string& item, const std::string& text)
{
    Item(item);
    std::string::size_type begin = 0;
    for (std::string::size_type end; (end = text.find("\r\n", begin)) != std::string::npos; begin = end + 2)
        Item("    " + text.substr(begin, end - begin));
    if (begin < text.size())
        Item("    " + text.substr(begin));
}

#pragma once

#include "widgets/messages.h"

#include <QList>

// Answers every message of the layer while it lives and keeps what was asked.
class MessageRecorder
{
public:
    explicit MessageRecorder(int answer = coop::mrOk)
    {
        m_previous = coop::setMessageFunction([this, answer](const coop::MessageRequest &request) {
            requests.append(request);
            return answer;
        });
    }
    ~MessageRecorder() { coop::setMessageFunction(std::move(m_previous)); }

    QList<coop::MessageRequest> requests;

private:
    coop::MessageFunction m_previous;
};

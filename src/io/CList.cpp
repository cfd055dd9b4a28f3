#include "io/CList.h"

CList::~CList()
{
    Clear();
}

void CList::Add(void* item)
{
    Node* node = new Node{item, nullptr};
    Node** link = &head;
    while (*link)
        link = &(*link)->next;
    *link = node;
    ++count;
}

void CList::Insert(int index, void* item)
{
    Node** link = &head;
    for (int i = 0; i < index && *link; ++i)
        link = &(*link)->next;
    *link = new Node{item, *link};
    ++count;
}

void* CList::Get(int index) const
{
    if (index < 0 || index >= count)
        return nullptr;
    Node* node = head;
    while (index-- > 0)
        node = node->next;
    return node->item;
}

int CList::IndexOf(const void* item) const
{
    int index = 0;
    for (Node* node = head; node; node = node->next, ++index)
        if (node->item == item)
            return index;
    return -1;
}

bool CList::Remove(const void* item)
{
    for (Node** link = &head; *link; link = &(*link)->next)
    {
        if ((*link)->item == item)
        {
            Node* node = *link;
            *link = node->next;
            delete node;
            --count;
            return true;
        }
    }
    return false;
}

void* CList::RemoveAt(int index)
{
    if (index < 0 || index >= count)
        return nullptr;
    Node** link = &head;
    while (index-- > 0)
        link = &(*link)->next;
    Node* node = *link;
    void* item = node->item;
    *link = node->next;
    delete node;
    --count;
    return item;
}

void CList::Clear()
{
    while (head)
    {
        Node* next = head->next;
        delete head;
        head = next;
    }
    count = 0;
}

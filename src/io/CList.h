#pragma once

// An ordered singly linked list of object pointers. The list does not own the
// objects; owners delete them. Access by index walks the nodes.
class CList
{
public:
    CList() = default;
    virtual ~CList();

    // Appends item at the end.
    void Add(void* item);
    // Inserts item so that it gets the given index (appends when index >= count).
    void Insert(int index, void* item);
    // The item at index, or null outside 0..count-1.
    void* Get(int index) const;
    // Index of the first node holding item, or -1.
    int IndexOf(const void* item) const;
    // Unlinks the first node holding item; true when found.
    bool Remove(const void* item);
    // Unlinks the node at index and returns its item, or null outside the range.
    void* RemoveAt(int index);
    // Unlinks every node (the items are untouched).
    void Clear();
    int Count() const { return count; }

    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;

private:
    struct Node
    {
        void* item;
        Node* next;
    };

    int count = 0;
    Node* head = nullptr;
};

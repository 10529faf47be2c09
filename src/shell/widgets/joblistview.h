#pragma once

#include <QTreeWidget>

class JobList;

// The job list `lv`: shows the rows of the job list and passes the user's check
// marks and selection back to it.
class JobListView : public QTreeWidget
{
    Q_OBJECT
public:
    explicit JobListView(JobList &jobs, QWidget *parent = nullptr);

private:
    void showRow(int row);
    void rebuild();

    JobList &m_jobs;
    bool m_updating = false;
};

#pragma once

#include <QTreeView>

class JobList;
class JobListModel;

// The job list `lv`: a view over the job list's model. Check marks go back through
// the model; the selection is passed back to the job list and follows it.
class JobListView : public QTreeView
{
    Q_OBJECT
public:
    explicit JobListView(JobList &jobs, QWidget *parent = nullptr);

    JobListModel *jobModel() const { return m_model; }
    void setColumnCaption(int column, const QString &caption);
    void setCheckBoxes(bool on);

private:
    void selectionFromView();
    void selectionFromJobs();

    JobList &m_jobs;
    JobListModel *m_model;
    bool m_syncing = false; // one side is being brought in line with the other
};

; Keys that every newly placed control starts with, one section per type.
[Edit]
Type=0
Width=121
Height=21

[Button]
Type=1
Width=75
Height=25
Caption=Button

[Label]
Type=2
Width=65
Height=13
Caption=Label

[Checkbox]
Type=3
Width=97
Height=17
Caption=CheckBox

[Combobox]
Type=4
Width=145
Height=21

[Radiogroup]
Type=5
Width=185
Height=105
Caption=RadioGroup

[RichEdit]
Type=6
Width=185
Height=89

[Listbox]
Type=7
Width=121
Height=97

[ChkListBox]
Type=8
Width=121
Height=97

[ProgressBar]
Type=9
Width=150
Height=16

[Image]
Type=10
Width=105
Height=105

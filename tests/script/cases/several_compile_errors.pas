var i: Integer;
var f: Float;
f := 1;
i := 1.5;
i := undefined1;
PrintLn(Sqrt(1, 2));
// error: Невозможно присвоить "Float" к "Integer" [строка: 4, столбец: 6]
// error: Неизвестное имя "undefined1" [строка: 5, столбец: 6]
// error: Expected 1 parameters (instead of 2) [строка: 6, столбец: 9]
